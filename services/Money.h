// Rounding of amounts: the one rule every total, tax, discount and exchange follows.
//
// Amounts are doubles and are rounded to 2 decimals, ties to even, at every step that
// stores, posts or compares them. A double rarely holds a decimal tie exactly: 2.675 is
// kept as 2.67499999999999982236431605997495353221893310546875. Rounding that binary value
// would give 2.67, yet the user typed (and the suite computed) the decimal 2.675, so a
// value that lies within a few hundred units of its last place of a tie is taken as that
// tie and rounded to the even neighbour:
//
//     roundMoney(2.125) == 2.12    roundMoney(2.135) == 2.14    roundMoney(2.675) == 2.68
//     roundMoney(-2.125) == -2.12  roundMoney(1.005) == 1.00    roundMoney(0.015) == 0.02
//
// The tolerance is relative (1e-13 of the scaled value), so it stays far below a cent
// even for amounts in the billions: 5000001.014 is 5000001.01, not a tie.
#pragma once

namespace keltro::services {

// `value` rounded to `decimals` places (0 to 15), ties to even as above. NaN, infinities
// and values too large to carry a fraction come back unchanged; a result of zero is +0.
double roundHalfEven(double value, int decimals);

// An amount rounded to 2 decimals, ties to even.
double roundMoney(double amount);

}  // namespace keltro::services

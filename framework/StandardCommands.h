// The commands the entry screens share, built once so that every screen spells them alike.
//
// A screen adds them in its own menu order, between the ones only it has:
//
//     addCommand(framework::saveCommand());
//     addCommand(framework::previewCommand("Preview"));
//     addExitCommand("&File");
//     for (auto& c : framework::modeCommands("New")) addCommand(std::move(c));
//
// Toolbar captions differ from screen to screen where a screen leaves a button without
// caption; those are the arguments. Apart from "&Void", which runs the item it names, the
// commands come without actions: the screen attaches its own.
#pragma once

#include <string>
#include <vector>

#include "framework/Screen.h"

namespace keltro::framework {

// What the number field of an unsaved document shows.
inline constexpr const char* kNewDocumentNo = "** New **";

// "&Save" of the "&File" menu.
Command saveCommand();

// "&Preview" of the "&File" menu; it needs the print right.
Command previewCommand(const std::string& toolbar);

// "&New" and "&Edit mode" of the "&Edit" menu: buttons that stay pressed, both needing
// the update right.
std::vector<Command> modeCommands(const std::string& newToolbar);

// "&Insert Line" and "&Delete Line" of the "&Edit" menu.
std::vector<Command> lineCommands();

// "&Void" of the "&Edit" menu and the item below it that names what it voids ("&Void
// Receipt"); choosing "&Void" runs the item on `screen`.
std::vector<Command> voidMenuCommands(Screen& screen, const std::string& item);

// "&Next record", "&Previous record", "&Last record" and "&Refresh record" of the
// "&Record" menu.
std::vector<Command> recordCommands(const std::string& lastToolbar);

// "&Show Text below Icon" of the "&Option" menu.
Command showTextBelowIconCommand();

}  // namespace keltro::framework

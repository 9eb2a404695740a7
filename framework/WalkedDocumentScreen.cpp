#include "framework/WalkedDocumentScreen.h"

#include "store/DocumentWalk.h"

namespace keltro::framework {

WalkedDocumentScreen::WalkedDocumentScreen(std::string className, std::string title,
                                           std::string table, std::string doctype)
    : DocumentScreen(std::move(className), std::move(title)),
      m_table(std::move(table)),
      m_doctype(std::move(doctype)) {}

void WalkedDocumentScreen::attachRecordCommands() {
    attach("&Next record", [this] { step(+1); });
    attach("&Previous record", [this] { step(-1); });
    attach("&Last record", [this] { showLast(); });
    attach("&Refresh record", [this] { refresh(); });
}

void WalkedDocumentScreen::showLast() {
    leaveEditBeforeMoving();
    if (const auto fkey = store::lastDocumentKey(database(), m_table, m_doctype))
        showWithKey(*fkey);
    else
        showNone();
}

void WalkedDocumentScreen::step(int direction) {
    const auto shown = shownStored();
    if (!shown || mode() == Mode::New) return showLast();
    leaveEditBeforeMoving();
    const auto fkey =
        store::neighbourDocumentKey(database(), m_table, m_doctype, shown->id, direction);
    showWithKey(fkey ? *fkey : shown->fkey);
}

void WalkedDocumentScreen::refresh() {
    leaveEditBeforeMoving();
    if (const auto shown = shownStored(); shown && mode() != Mode::New) showWithKey(shown->fkey);
}

void WalkedDocumentScreen::leaveEditBeforeMoving() {
    if (mode() == Mode::Edit && ui().ask("Do you want to save editing?")) saveEdit();
}

void WalkedDocumentScreen::beginEditUnless(const std::string& refusal) {
    if (refusal.empty()) return enterMode(Mode::Edit);
    mutableCommand("&Edit mode").checked = false;
    ui().message(refusal);
}

void WalkedDocumentScreen::leaveEdit() {
    if (ui().ask("Do you want to save editing?")) return saveEdit();
    if (const auto shown = shownStored()) showWithKey(shown->fkey);
}

void WalkedDocumentScreen::saveNewDocument(const std::function<std::optional<std::string>()>& save,
                                           const std::string& complete, const std::string& failed) {
    std::optional<std::string> fkey;
    guarded([&] { fkey = save(); });
    if (!fkey) {
        clearNewNumber();
        return ui().message(failed);
    }
    ui().message(complete);
    showWithKey(*fkey);
}

void WalkedDocumentScreen::changeStored(const std::function<bool()>& change, const std::string& fkey,
                                        const std::string& complete, const std::string& failed) {
    bool changed = false;
    guarded([&] { changed = change(); });
    if (!changed) return ui().message(failed);
    ui().message(complete);
    showWithKey(fkey);
}

}  // namespace keltro::framework

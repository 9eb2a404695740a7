// A document screen whose stored documents are walked one doctype of one table at a time,
// in the order they were added, and shown by their key.
//
// "&Last record" goes to the newest, "&Next record" and "&Previous record" to the one
// added after or before the shown one (staying put at either end; from a new entry, the
// newest), "&Refresh record" reads the shown one again. Moving away while "&Edit mode" is
// on asks "Do you want to save editing?" and saves first on Yes; releasing "&Edit mode"
// asks the same, and No shows the stored document as it was. A screen says which
// document it shows and how to show one:
//
//     std::optional<StoredDocument> shownStored() const override;   // id and key
//     void showWithKey(const std::string& fkey) override;
//     void showNone() override;                                       // nothing stored yet
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "framework/DocumentScreen.h"

namespace keltro::framework {

struct StoredDocument {
    std::int64_t id = 0;
    std::string fkey;
};

class WalkedDocumentScreen : public DocumentScreen {
protected:
    WalkedDocumentScreen(std::string className, std::string title, std::string table,
                         std::string doctype);

    virtual std::optional<StoredDocument> shownStored() const = 0;
    virtual void showWithKey(const std::string& fkey) = 0;
    virtual void showNone() = 0;

    // Attaches "&Next record", "&Previous record", "&Last record", "&Refresh record".
    void attachRecordCommands();
    void showLast();
    void step(int direction);
    void refresh();
    void leaveEditBeforeMoving();
    // "&Edit mode" pressed: with a refusal (docno + " was void." …) it is released and the
    // refusal said; else the mode begins.
    void beginEditUnless(const std::string& refusal);
    void leaveEdit() override;

    // Runs the save of a new document (its key, or nothing after a message): a saved one
    // says `complete` and is shown; a failed one gets "** New **" back and says `failed`.
    void saveNewDocument(const std::function<std::optional<std::string>()>& save,
                         const std::string& complete, const std::string& failed);
    // Runs a change of the stored document `fkey` (a void, a generation; false after a
    // message): it says `failed`, or `complete` and shows the document again.
    void changeStored(const std::function<bool()>& change, const std::string& fkey,
                      const std::string& complete, const std::string& failed);

private:
    std::string m_table;
    std::string m_doctype;
};

}  // namespace keltro::framework

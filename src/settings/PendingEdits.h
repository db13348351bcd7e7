#pragma once
// The user's changes made while the configuration file could not be read yet (held open
// by another program at start-up). They are not written anywhere until the file has been
// read; then they are made again on the file's own values, so that the file keeps what
// the user did not touch. Values are kept as which fields were touched (their latest
// values are the live ones), so a slider dragged for minutes costs nothing more; list
// edits are kept in order.

#include <cstdint>
#include <string>
#include <vector>

#include "settings/Settings.h"

class PendingEdits {
public:
    bool Empty() const { return touchedFields_ == 0 && listEdits_.empty(); }
    void Clear() {
        touchedFields_ = 0;
        listEdits_.clear();
    }

    // Every field that differs between the two records (a whole list that differs is replaced).
    void NoteChange(const Settings& before, const Settings& after);
    void NoteReset();
    void NoteAddApp(const std::wstring& entry) { listEdits_.push_back({ListEdit::AddApp, entry, {}}); }
    void NoteAddSite(const std::wstring& rule) { listEdits_.push_back({ListEdit::AddSite, rule, {}}); }
    void NoteRemoveApp(const std::wstring& text) { listEdits_.push_back({ListEdit::RemoveApp, text, {}}); }
    void NoteRemoveSite(const std::wstring& rule) { listEdits_.push_back({ListEdit::RemoveSite, rule, {}}); }

    // The file's values with the edits made on them: the list edits in their order, then
    // each touched field as it is in live. StartWithWindows is never the file's business.
    void ReplayOn(Settings& fileValues, const Settings& live) const;

private:
    struct ListEdit {
        enum Kind { AddApp, AddSite, RemoveApp, RemoveSite, ReplaceApps, ReplaceSites, ResetLists } kind;
        std::wstring text;
        std::vector<std::wstring> list;
    };

    uint32_t touchedFields_ = 0; // one bit per scalar field, in the order of PendingEdits.cpp's table
    std::vector<ListEdit> listEdits_;
};

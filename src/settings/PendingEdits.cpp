#include "settings/PendingEdits.h"

#include "settings/ExclusionListEdits.h"

namespace {

// The scalar fields the file keeps, each able to tell a difference and to copy itself.
struct ScalarField {
    bool (*differs)(const Settings& a, const Settings& b);
    void (*copy)(const Settings& from, Settings& to);
};

template <AxisSettings Settings::*Axis, typename T, T AxisSettings::*Field>
constexpr ScalarField OfAxis() {
    // != rather than ==: a NaN read from a hand-edited file counts as touched, and is copied.
    return {[](const Settings& a, const Settings& b) { return (a.*Axis).*Field != (b.*Axis).*Field; },
            [](const Settings& from, Settings& to) { (to.*Axis).*Field = (from.*Axis).*Field; }};
}

template <AxisSettings Settings::*Axis>
constexpr void AddAxis(ScalarField* fields) {
    fields[0] = OfAxis<Axis, int32_t, &AxisSettings::Speed>();
    fields[1] = OfAxis<Axis, int32_t, &AxisSettings::DurationMs>();
    fields[2] = OfAxis<Axis, double, &AxisSettings::Smoothing>();
    fields[3] = OfAxis<Axis, bool, &AxisSettings::AccelEnabled>();
    fields[4] = OfAxis<Axis, double, &AxisSettings::AccelStrength>();
}

constexpr int FieldCount = 11;

struct FieldTable {
    ScalarField fields[FieldCount] = {};
    constexpr FieldTable() {
        fields[0] = {[](const Settings& a, const Settings& b) { return a.Enabled != b.Enabled; },
                     [](const Settings& from, Settings& to) { to.Enabled = from.Enabled; }};
        AddAxis<&Settings::Vertical>(fields + 1);
        AddAxis<&Settings::Horizontal>(fields + 6);
    }
};

constexpr FieldTable Table;
constexpr uint32_t AllFields = (1u << FieldCount) - 1;

} // namespace

void PendingEdits::NoteChange(const Settings& before, const Settings& after) {
    for (int i = 0; i < FieldCount; ++i)
        if (Table.fields[i].differs(before, after)) touchedFields_ |= 1u << i;
    if (before.ExcludedApps != after.ExcludedApps) listEdits_.push_back({ListEdit::ReplaceApps, {}, after.ExcludedApps});
    if (before.ExcludedSites != after.ExcludedSites)
        listEdits_.push_back({ListEdit::ReplaceSites, {}, after.ExcludedSites});
}

void PendingEdits::NoteReset() {
    touchedFields_ = AllFields;
    listEdits_.push_back({ListEdit::ResetLists, {}, {}});
}

void PendingEdits::ReplayOn(Settings& fileValues, const Settings& live) const {
    for (const ListEdit& edit : listEdits_) {
        switch (edit.kind) {
        case ListEdit::AddApp: ExclusionListEdits::AddApp(fileValues.ExcludedApps, edit.text); break;
        case ListEdit::AddSite: ExclusionListEdits::AddSite(fileValues.ExcludedSites, edit.text); break;
        case ListEdit::RemoveApp: ExclusionListEdits::RemoveApp(fileValues.ExcludedApps, edit.text); break;
        case ListEdit::RemoveSite: ExclusionListEdits::RemoveSite(fileValues.ExcludedSites, edit.text); break;
        case ListEdit::ReplaceApps: fileValues.ExcludedApps = edit.list; break;
        case ListEdit::ReplaceSites: fileValues.ExcludedSites = edit.list; break;
        case ListEdit::ResetLists:
            fileValues.ExcludedApps = DefaultExcludedApps();
            fileValues.ExcludedSites.clear();
            break;
        }
    }
    for (int i = 0; i < FieldCount; ++i)
        if (touchedFields_ & (1u << i)) Table.fields[i].copy(live, fileValues);
}

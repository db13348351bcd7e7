// The settings window of the real program for people who use the keyboard and a
// screen reader: key strokes sent as hardware input (SendInput, through the
// program's message loop), the keyboard focus read with GetGUIThreadInfo, and the
// controls read the way a screen reader reads them, through oleacc from this
// process, with the events it listens to. Runs under Wine here.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Win32.h"

#include <oleacc.h>

#include "platform/ComApartment.h"
#include "platform/ComRef.h"
#include "platform/UniqueHandle.h"
#include "support/DesktopInput.h"
#include "support/ProgramUnderTest.h"
#include "ui/settings/SettingsCommands.h"
#include "ui/settings/SettingsLayout.h"

namespace {

// IID_IAccessible: MinGW's import library gives a thunk, not the GUID, when linked statically.
constexpr GUID AccessibleId = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

VARIANT Child(long id) {
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

// What a screen reader reads of one object (or one simple child of it).
struct Heard {
    std::wstring name, value;
    long role = 0, state = 0;
};

// A string property of `child`, empty when the object has none.
std::wstring TextOf(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*property)(VARIANT, BSTR*),
                    long child) {
    BSTR text = nullptr;
    const HRESULT result = (object->*property)(Child(child), &text);
    std::wstring taken = SUCCEEDED(result) && text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return taken;
}

Heard Read(IAccessible* object, long child = CHILDID_SELF) {
    Heard heard;
    if (!object) return heard;
    heard.name = TextOf(object, &IAccessible::get_accName, child);
    heard.value = TextOf(object, &IAccessible::get_accValue, child);
    VARIANT number;
    VariantInit(&number);
    if (SUCCEEDED(object->get_accRole(Child(child), &number)) && number.vt == VT_I4) heard.role = number.lVal;
    VariantInit(&number);
    if (SUCCEEDED(object->get_accState(Child(child), &number)) && number.vt == VT_I4) heard.state = number.lVal;
    return heard;
}

ComRef<IAccessible> ObjectOf(HWND window, LONG objectId = OBJID_CLIENT) {
    ComRef<IAccessible> object;
    AccessibleObjectFromWindow(window, static_cast<DWORD>(objectId), AccessibleId,
                               reinterpret_cast<void**>(object.put()));
    return object;
}

// The children of an object as AccessibleChildren lists them, full objects only.
std::vector<ComRef<IAccessible>> ChildObjects(IAccessible* parent) {
    long count = 0;
    parent->get_accChildCount(&count);
    std::vector<VARIANT> children(static_cast<size_t>(count > 0 ? count : 0));
    long obtained = 0;
    std::vector<ComRef<IAccessible>> objects;
    if (count <= 0 || FAILED(AccessibleChildren(parent, 0, count, children.data(), &obtained))) return objects;
    for (long i = 0; i < obtained; ++i) {
        if (children[i].vt == VT_DISPATCH && children[i].pdispVal) {
            ComRef<IAccessible> object;
            children[i].pdispVal->QueryInterface(AccessibleId, reinterpret_cast<void**>(object.put()));
            if (object) objects.push_back(std::move(object));
        }
        VariantClear(&children[i]);
    }
    return objects;
}

// Win events of the program under test, as an out-of-context hook receives them.
struct WinEvent {
    DWORD event;
    HWND window;
    LONG object, child;
};
std::vector<WinEvent> seenEvents;

void CALLBACK RecordEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    seenEvents.push_back({event, window, object, child});
}

struct WinEventHookTraits {
    using Handle = HWINEVENTHOOK;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle hook) { UnhookWinEvent(hook); }
};

// Waits for `condition`, handing this thread's queued hook callbacks out meanwhile.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000) {
    return WaitFor(
        [&] {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
            return condition();
        },
        timeoutMs);
}

bool EventSeen(DWORD event, HWND window, LONG object, LONG child) {
    for (const WinEvent& seen : seenEvents) {
        if (seen.event == event && seen.window == window && seen.object == object && seen.child == child) return true;
    }
    return false;
}

class SettingsAccessE2ETest : public ::testing::Test {
protected:
    void StartProgram(const std::wstring& config) {
        program = std::make_unique<ProgramUnderTest>(config);
        ASSERT_TRUE(program->Start(L""));
        window = program->FindSettingsWindow();
        ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(window) && GetForegroundWindow() == window; }))
            << "the window did not come to the front";
    }
    void TearDown() override {
        if (program) {
            EXPECT_EQ(program->ExitThroughTrayMenu(), 0);
        }
    }

    HWND Item(int id) const { return GetDlgItem(window, id); }
    HWND Focus() const {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
        return info.hwndFocus;
    }
    // The focus rests on a control a key can act on: shown, enabled, in this window.
    bool FocusUsable() const {
        const HWND focus = Focus();
        return focus && (focus == window || IsChild(window, focus)) && IsWindowVisible(focus) && IsWindowEnabled(focus);
    }
    bool FocusOn(int id) {
        return WaitFor([&] { return Focus() == Item(id); });
    }
    int Count(int list) const { return static_cast<int>(SendMessageW(Item(list), LB_GETCOUNT, 0, 0)); }
    int ValueInFile(const wchar_t* section, const wchar_t* key) const {
        return static_cast<int>(GetPrivateProfileIntW(section, key, -1, (program->Folder() + L"\\config.ini").c_str()));
    }
    // The page whose first control shows, by the page groups' first controls.
    bool PageShown(int list) const { return IsWindowVisible(Item(list)) != FALSE; }

    std::unique_ptr<ProgramUnderTest> program;
    HWND window = nullptr;
};

} // namespace

// Each kind of control as a screen reader reads it through oleacc: name, role, state and
// value, before and after keys change them, and the events that tell it so. Then Remove
// pressed with Space empties the list entry by entry; the focus always stays on a control
// the keyboard can use, so Esc, Tab and Ctrl+Tab keep working without a click.
TEST_F(SettingsAccessE2ETest, ScreenReadersHearTheControlsAndTheKeyboardAloneRemovesEntries) {
    StartProgram(L"[General]\r\nEnabled=1\r\n[Vertical]\r\nSpeed=120\r\n"
                 L"[Exclusions]\r\nCount=2\r\nApp0=game.exe\r\nApp1=cad.exe\r\n");
    // Showing the window focuses its page's first control.
    ASSERT_TRUE(FocusOn(IDC_V_SPEED));
    ComApartment apartment(COINIT_APARTMENTTHREADED);
    ASSERT_TRUE(apartment.Entered());
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    UniqueHandle<WinEventHookTraits> hook(
        SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, RecordEvent, processId, 0, WINEVENT_OUTOFCONTEXT));
    ASSERT_TRUE(hook);

    // The master switch is a check button named by the word painted beside it.
    const ComRef<IAccessible> master = ObjectOf(Item(IDC_ENABLE_TOGGLE));
    ASSERT_TRUE(master) << "no object for the master switch";
    Heard heard = Read(master.get());
    EXPECT_EQ(heard.name, L"Включено");
    EXPECT_EQ(heard.role, ROLE_SYSTEM_CHECKBUTTON);
    EXPECT_EQ(heard.state & (STATE_SYSTEM_CHECKED | STATE_SYSTEM_FOCUSABLE),
              STATE_SYSTEM_CHECKED | STATE_SYSTEM_FOCUSABLE);
    EXPECT_EQ(heard.value, L"");
    // Shift+Tab reaches it, Enter turns it off as Space would: the file, the name, the state and an event follow.
    Keystroke(VK_TAB, false, true);
    ASSERT_TRUE(FocusOn(IDC_ENABLE_TOGGLE));
    Keystroke(VK_RETURN);
    ASSERT_TRUE(WaitFor([&] { return ValueInFile(L"General", L"Enabled") == 0; })) << "Enter did not flip the switch";
    heard = Read(master.get());
    EXPECT_EQ(heard.name, L"Выключено");
    EXPECT_EQ(heard.state & (STATE_SYSTEM_CHECKED | STATE_SYSTEM_FOCUSED), STATE_SYSTEM_FOCUSED);
    EXPECT_TRUE(
        PumpUntil([&] { return EventSeen(EVENT_OBJECT_STATECHANGE, Item(IDC_ENABLE_TOGGLE), OBJID_CLIENT, 0); }));
    Keystroke(VK_SPACE);
    ASSERT_TRUE(WaitFor([&] { return ValueInFile(L"General", L"Enabled") == 1; }));
    EXPECT_EQ(Read(master.get()).name, L"Включено");

    // A slider: its row's label, and the value text the row shows, also after the arrow key moves it.
    const ComRef<IAccessible> speed = ObjectOf(Item(IDC_V_SPEED));
    heard = Read(speed.get());
    EXPECT_EQ(heard.name, L"Скорость");
    EXPECT_EQ(heard.role, ROLE_SYSTEM_SLIDER);
    EXPECT_EQ(heard.value, L"120  ·  ≈3.0 строки");
    Keystroke(VK_TAB);
    ASSERT_TRUE(FocusOn(IDC_V_SPEED));
    Keystroke(VK_RIGHT);
    EXPECT_TRUE(WaitFor([&] { return Read(speed.get()).value == L"130  ·  ≈3.2 строки"; })) << Read(speed.get()).value;
    EXPECT_NE(Read(speed.get()).state & STATE_SYSTEM_FOCUSED, 0);
    // The strength slider of a page not shown is invisible; so is the list.
    EXPECT_NE(Read(ObjectOf(Item(IDC_H_ACCEL_STRENGTH)).get()).state & STATE_SYSTEM_INVISIBLE, 0);

    // The tab strip is the first child of the window's client: a page tab list with its page.
    const ComRef<IAccessible> client = ObjectOf(window);
    ASSERT_TRUE(client);
    const std::vector<ComRef<IAccessible>> children = ChildObjects(client.get());
    ASSERT_FALSE(children.empty());
    IAccessible* strip = children.front().get();
    heard = Read(strip);
    EXPECT_EQ(heard.role, ROLE_SYSTEM_PAGETABLIST);
    EXPECT_EQ(heard.name, L"Страницы настроек");
    EXPECT_EQ(heard.value, L"Вертикаль");
    long tabs = 0;
    EXPECT_EQ(strip->get_accChildCount(&tabs), S_OK);
    EXPECT_EQ(tabs, PageCount);
    EXPECT_EQ(Read(strip, 2).name, L"Горизонталь");
    EXPECT_EQ(Read(strip, 2).role, ROLE_SYSTEM_PAGETAB);
    EXPECT_NE(Read(strip, 1).state & STATE_SYSTEM_SELECTED, 0);
    EXPECT_EQ(Read(strip, 2).state & STATE_SYSTEM_SELECTED, 0);
    EXPECT_EQ(Read(ObjectOf(window, 1).get()).value, L"Вертикаль"); // also asked for by its own object id

    // Ctrl+Tab twice: the strip tells the new page, the selection event names its tab.
    const ComRef<IAccessible> list = ObjectOf(Item(IDC_APP_LIST));
    EXPECT_NE(Read(list.get()).state & STATE_SYSTEM_INVISIBLE, 0);
    Keystroke(VK_TAB, true);
    Keystroke(VK_TAB, true);
    ASSERT_TRUE(WaitFor([&] { return Read(strip).value == L"Программы"; })) << Read(strip).value;
    EXPECT_NE(Read(strip, 3).state & STATE_SYSTEM_SELECTED, 0);
    EXPECT_TRUE(PumpUntil([&] { return EventSeen(EVENT_OBJECT_SELECTION, window, 1, 3); }));

    // The list is named by its section and tells the entry selected with the arrow key
    // (the header switch comes first in Tab order).
    heard = Read(list.get());
    EXPECT_EQ(heard.name, L"ПРОГРАММЫ");
    EXPECT_EQ(heard.role, ROLE_SYSTEM_LIST);
    EXPECT_EQ(heard.state & STATE_SYSTEM_INVISIBLE, 0);
    EXPECT_EQ(heard.value, L"");
    Keystroke(VK_TAB);
    Keystroke(VK_TAB);
    ASSERT_TRUE(FocusOn(IDC_APP_LIST));
    Keystroke(VK_DOWN);
    EXPECT_TRUE(WaitFor([&] { return Read(list.get()).value == L"game.exe"; }));
    EXPECT_NE(Read(list.get()).state & STATE_SYSTEM_FOCUSED, 0);
    EXPECT_EQ(Read(ObjectOf(Item(IDC_APP_EDIT)).get()).name, L"ПРОГРАММЫ");

    // On to Remove: two entries, one goes, the next is selected and Remove keeps the focus.
    ASSERT_EQ(Count(IDC_APP_LIST), 2);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(Item(IDC_APP_REMOVE)) != FALSE; }));
    for (int i = 0; i < 4; ++i) Keystroke(VK_TAB);
    ASSERT_TRUE(FocusOn(IDC_APP_REMOVE));
    Keystroke(VK_SPACE);
    ASSERT_TRUE(WaitFor([&] { return Count(IDC_APP_LIST) == 1; }));
    EXPECT_EQ(ValueInFile(L"Exclusions", L"Count"), 1);
    EXPECT_TRUE(FocusOn(IDC_APP_REMOVE));
    EXPECT_TRUE(FocusUsable());
    // One entry: the list empties, Remove is disabled and the focus has gone to the list.
    Keystroke(VK_SPACE);
    ASSERT_TRUE(WaitFor([&] { return Count(IDC_APP_LIST) == 0; }));
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_APP_REMOVE)));
    EXPECT_TRUE(FocusOn(IDC_APP_LIST));
    EXPECT_TRUE(FocusUsable());

    // Esc hides; shown again, the focus is on the page's first control and Ctrl+Tab turns the page.
    Keystroke(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(window); })) << "Esc did not hide the window";
    EXPECT_EQ(program->RunSecondInstance(L""), 0); // shows the first instance's window
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(window) && GetForegroundWindow() == window; }));
    EXPECT_TRUE(FocusOn(IDC_APP_LIST));
    Keystroke(VK_TAB, true);
    EXPECT_TRUE(WaitFor([&] { return PageShown(IDC_SITE_LIST) && !PageShown(IDC_APP_LIST); }));
    EXPECT_TRUE(WaitFor([&] { return FocusUsable(); }));
    EXPECT_EQ(ValueInFile(L"Exclusions", L"Count"), 0);
}

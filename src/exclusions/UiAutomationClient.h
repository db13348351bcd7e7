#pragma once
// The UI Automation client interfaces the browser watcher calls. The Windows SDK
// declares them in <UIAutomationClient.h>; mingw-w64 does not, so they are declared
// here in the SDK's vtable order. Methods never called keep their slots under
// placeholder names (IUIAutomation2 extends the whole of IUIAutomation).

#include "platform/Win32.h"

#include <objbase.h>
#include <oleauto.h>

#ifdef _MSC_VER
#include <UIAutomationClient.h>

inline const CLSID& UiAutomationClassId() { return __uuidof(CUIAutomation); }
inline const IID& UiAutomationInterfaceId() { return __uuidof(IUIAutomation); }
inline const CLSID& UiAutomation8ClassId() { return __uuidof(CUIAutomation8); }
inline const IID& UiAutomation2InterfaceId() { return __uuidof(IUIAutomation2); }
#else

struct IUIAutomationElement;
struct IUIAutomationElementArray;
struct IUIAutomationCondition;
struct IUIAutomationCacheRequest;
struct IUIAutomationTreeWalker;
enum TreeScope : int;
typedef int PROPERTYID;
typedef int PATTERNID;
typedef int CONTROLTYPEID;
typedef void* UIA_HWND;

struct IUIAutomationElement : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetFocus() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRuntimeId(SAFEARRAY** runtimeId) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindFirst(TreeScope scope, IUIAutomationCondition* condition,
                                                IUIAutomationElement** found) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindAll(TreeScope scope, IUIAutomationCondition* condition,
                                              IUIAutomationElementArray** found) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindFirstBuildCache(TreeScope scope, IUIAutomationCondition* condition,
                                                          IUIAutomationCacheRequest* cacheRequest,
                                                          IUIAutomationElement** found) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindAllBuildCache(TreeScope scope, IUIAutomationCondition* condition,
                                                        IUIAutomationCacheRequest* cacheRequest,
                                                        IUIAutomationElementArray** found) = 0;
    virtual HRESULT STDMETHODCALLTYPE BuildUpdatedCache(IUIAutomationCacheRequest* cacheRequest,
                                                        IUIAutomationElement** updatedElement) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentPropertyValue(PROPERTYID propertyId, VARIANT* retVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentPropertyValueEx(PROPERTYID propertyId, BOOL ignoreDefaultValue,
                                                                VARIANT* retVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCachedPropertyValue(PROPERTYID propertyId, VARIANT* retVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCachedPropertyValueEx(PROPERTYID propertyId, BOOL ignoreDefaultValue,
                                                               VARIANT* retVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentPatternAs(PATTERNID patternId, REFIID riid, void** patternObject) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCachedPatternAs(PATTERNID patternId, REFIID riid, void** patternObject) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentPattern(PATTERNID patternId, IUnknown** patternObject) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCachedPattern(PATTERNID patternId, IUnknown** patternObject) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCachedParent(IUIAutomationElement** parent) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCachedChildren(IUIAutomationElementArray** children) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentProcessId(int* retVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentControlType(CONTROLTYPEID* retVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentLocalizedControlType(BSTR* retVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentName(BSTR* retVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentAcceleratorKey(BSTR* retVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentAccessKey(BSTR* retVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentHasKeyboardFocus(BOOL* retVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentIsKeyboardFocusable(BOOL* retVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentIsEnabled(BOOL* retVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentAutomationId(BSTR* retVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentClassName(BSTR* retVal) = 0;
};

struct IUIAutomationTreeWalker : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetParentElement(IUIAutomationElement* element,
                                                       IUIAutomationElement** parent) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFirstChildElement(IUIAutomationElement* element,
                                                           IUIAutomationElement** first) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetLastChildElement(IUIAutomationElement* element,
                                                          IUIAutomationElement** last) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNextSiblingElement(IUIAutomationElement* element,
                                                            IUIAutomationElement** next) = 0;
};

struct IUIAutomation : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CompareElements(IUIAutomationElement* el1, IUIAutomationElement* el2,
                                                      BOOL* areSame) = 0;
    virtual HRESULT STDMETHODCALLTYPE CompareRuntimeIds(SAFEARRAY* runtimeId1, SAFEARRAY* runtimeId2,
                                                        BOOL* areSame) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRootElement(IUIAutomationElement** root) = 0;
    virtual HRESULT STDMETHODCALLTYPE ElementFromHandle(UIA_HWND hwnd, IUIAutomationElement** element) = 0;
    virtual HRESULT STDMETHODCALLTYPE ElementFromPoint(POINT pt, IUIAutomationElement** element) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFocusedElement(IUIAutomationElement** element) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRootElementBuildCache(IUIAutomationCacheRequest* cacheRequest,
                                                               IUIAutomationElement** root) = 0;
    virtual HRESULT STDMETHODCALLTYPE ElementFromHandleBuildCache(UIA_HWND hwnd,
                                                                  IUIAutomationCacheRequest* cacheRequest,
                                                                  IUIAutomationElement** element) = 0;
    virtual HRESULT STDMETHODCALLTYPE ElementFromPointBuildCache(POINT pt, IUIAutomationCacheRequest* cacheRequest,
                                                                 IUIAutomationElement** element) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFocusedElementBuildCache(IUIAutomationCacheRequest* cacheRequest,
                                                                  IUIAutomationElement** element) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateTreeWalker(IUIAutomationCondition* condition,
                                                       IUIAutomationTreeWalker** walker) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ControlViewWalker(IUIAutomationTreeWalker** walker) = 0;
    // get_ContentViewWalker (13) .. ElementFromIAccessibleBuildCache (55).
    virtual HRESULT STDMETHODCALLTYPE Unused13() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused14() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused15() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused16() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused17() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused18() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused19() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused20() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused21() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused22() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused23() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused24() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused25() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused26() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused27() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused28() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused29() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused30() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused31() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused32() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused33() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused34() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused35() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused36() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused37() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused38() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused39() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused40() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused41() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused42() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused43() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused44() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused45() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused46() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused47() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused48() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused49() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused50() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused51() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused52() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused53() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused54() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused55() = 0;
};

// Windows 8 and later: bounds on how long a call may wait for a provider.
struct IUIAutomation2 : public IUIAutomation {
    virtual HRESULT STDMETHODCALLTYPE get_AutoSetFocus(BOOL* autoSetFocus) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AutoSetFocus(BOOL autoSetFocus) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ConnectionTimeout(DWORD* timeout) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ConnectionTimeout(DWORD timeout) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_TransactionTimeout(DWORD* timeout) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_TransactionTimeout(DWORD timeout) = 0;
};

// {ff48dba4-60ef-4201-aa87-54103eef594e}
inline const CLSID& UiAutomationClassId() {
    static const CLSID id = {0xff48dba4, 0x60ef, 0x4201, {0xaa, 0x87, 0x54, 0x10, 0x3e, 0xef, 0x59, 0x4e}};
    return id;
}
// {30cbe57d-d9d0-452a-ab13-7ac5ac4825ee}
inline const IID& UiAutomationInterfaceId() {
    static const IID id = {0x30cbe57d, 0xd9d0, 0x452a, {0xab, 0x13, 0x7a, 0xc5, 0xac, 0x48, 0x25, 0xee}};
    return id;
}
// CUIAutomation8 {e22ad333-b25f-460c-83d0-0581107395c9}: the class that offers IUIAutomation2.
inline const CLSID& UiAutomation8ClassId() {
    static const CLSID id = {0xe22ad333, 0xb25f, 0x460c, {0x83, 0xd0, 0x05, 0x81, 0x10, 0x73, 0x95, 0xc9}};
    return id;
}
// {34723aff-0c9d-49d0-9896-7ab52df8cd8a}
inline const IID& UiAutomation2InterfaceId() {
    static const IID id = {0x34723aff, 0x0c9d, 0x49d0, {0x98, 0x96, 0x7a, 0xb5, 0x2d, 0xf8, 0xcd, 0x8a}};
    return id;
}
#endif

#pragma once
// The UI Automation client interfaces the browser watcher calls. The Windows SDK
// declares them in <UIAutomationClient.h>; mingw-w64 does not, so they are declared
// here with every method up to the last one used, in the SDK's vtable order (the
// methods after it are never called, so they need no declaration).

#include "platform/Win32.h"

#include <objbase.h>
#include <oleauto.h>

#ifdef _MSC_VER
#include <UIAutomationClient.h>

inline const CLSID& UiAutomationClassId() { return __uuidof(CUIAutomation); }
inline const IID& UiAutomationInterfaceId() { return __uuidof(IUIAutomation); }
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
#endif

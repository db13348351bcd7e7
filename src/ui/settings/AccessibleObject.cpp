#include "ui/settings/AccessibleObject.h"

#include <atomic>
#include <new>

#include "platform/ComRef.h"

namespace {

// The object on its own, or one of its children; a child id of another type is refused.
bool ChildIdOf(const VARIANT& child, long& id) {
    if (child.vt != VT_I4) return false;
    id = child.lVal;
    return true;
}

VARIANT IntegerVariant(long value) {
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_I4;
    variant.lVal = value;
    return variant;
}

// S_FALSE with no string is MSAA's "this object has none".
HRESULT ReturnText(const std::wstring& text, BSTR* result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    if (text.empty()) return S_FALSE;
    *result = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *result ? S_OK : E_OUTOFMEMORY;
}

class AccessibleObject final : public IAccessible, public IEnumVARIANT {
public:
    AccessibleObject(HWND window, long objectId, AccessibleShape shape, long paintedId, AccessibleSource& source)
        : window_(window), objectId_(objectId), shape_(shape), paintedId_(paintedId), source_(source) {
        if (shape_ != AccessibleShape::Painted)
            CreateStdAccessibleObject(window_, OBJID_CLIENT, AccessibleInterfaceId,
                                      reinterpret_cast<void**>(standard_.put()));
        if (shape_ == AccessibleShape::Window && standard_)
            standard_->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(standardChildren_.put()));
    }
    AccessibleObject(const AccessibleObject&) = delete;
    AccessibleObject& operator=(const AccessibleObject&) = delete;

    bool Usable() const { return shape_ == AccessibleShape::Painted || standard_; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == AccessibleInterfaceId) {
            *object = static_cast<IAccessible*>(this);
        } else if (riid == IID_IEnumVARIANT && shape_ == AccessibleShape::Window) {
            // Children of a client are listed by enumeration: ours first, then the proxy's.
            *object = static_cast<IEnumVARIANT*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    // IDispatch: the object is reached through IAccessible only.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!IsWindow(window_)) return RPC_E_DISCONNECTED;
        if (standard_) return standard_->get_accParent(parent);
        // Something painted belongs to the window's client area.
        return AccessibleObjectFromWindow(window_, static_cast<DWORD>(OBJID_CLIENT), IID_IDispatch,
                                          reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count) return E_POINTER;
        if (!IsWindow(window_)) return RPC_E_DISCONNECTED;
        if (shape_ == AccessibleShape::Painted) {
            *count = source_.OwnChildCount(window_, objectId_);
            return S_OK;
        }
        const HRESULT result = standard_->get_accChildCount(count);
        if (SUCCEEDED(result) && shape_ == AccessibleShape::Window) ++*count;
        return result;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (!IsWindow(window_)) return RPC_E_DISCONNECTED;
        if (standard_) return standard_->get_accChild(child, object);
        long id = 0;
        if (!ChildIdOf(child, id) || id < 1 || id > source_.OwnChildCount(window_, objectId_)) return E_INVALIDARG;
        return S_FALSE; // a simple element: asked through this object with its id
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return Text(child, name, &IAccessible::get_accName, &AccessibleInfo::name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return Text(child, value, &IAccessible::get_accValue, &AccessibleInfo::value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return Text(child, description, &IAccessible::get_accDescription, &AccessibleInfo::description);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return Text(child, action, &IAccessible::get_accDefaultAction, &AccessibleInfo::defaultAction);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return Number(child, role, &IAccessible::get_accRole, &AccessibleInfo::role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return Number(child, state, &IAccessible::get_accState, &AccessibleInfo::state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        if (standard_) return standard_->get_accHelp(child, help);
        return ReturnText({}, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        if (standard_) return standard_->get_accHelpTopic(file, child, topic);
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        if (standard_) return standard_->get_accKeyboardShortcut(child, shortcut);
        return ReturnText({}, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (!focus) return E_POINTER;
        VariantInit(focus);
        if (!IsWindow(window_)) return RPC_E_DISCONNECTED;
        // While the window itself has the keyboard focus, the tab strip (Ctrl+Tab) is what it works on.
        const bool windowFocused = GetFocus() == window_;
        if (shape_ == AccessibleShape::Window && windowFocused) return PaintedObject(focus);
        if (shape_ != AccessibleShape::Painted) return standard_->get_accFocus(focus);
        if (!windowFocused) return S_FALSE;
        *focus = IntegerVariant(SelectedChild());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (!selection) return E_POINTER;
        VariantInit(selection);
        if (!IsWindow(window_)) return RPC_E_DISCONNECTED;
        if (standard_) return standard_->get_accSelection(selection);
        const long selected = SelectedChild();
        if (selected == 0) return S_FALSE;
        *selection = IntegerVariant(selected);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        if (!IsWindow(window_)) return RPC_E_DISCONNECTED;
        if (standard_) return standard_->accSelect(flags, child);
        long id = 0;
        if (!ChildIdOf(child, id) || id < 1 || id > source_.OwnChildCount(window_, objectId_)) return E_INVALIDARG;
        if (!(flags & (SELFLAG_TAKESELECTION | SELFLAG_TAKEFOCUS))) return S_FALSE;
        source_.DoDefaultAction(window_, objectId_, id); // selecting a tab shows its page
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        if (!left || !top || !width || !height) return E_POINTER;
        if (!IsWindow(window_)) return RPC_E_DISCONNECTED;
        if (standard_) return standard_->accLocation(left, top, width, height, child);
        long id = 0;
        RECT place = {};
        if (!ChildIdOf(child, id) || !source_.OwnPlace(window_, objectId_, id, place)) return E_INVALIDARG;
        *left = place.left;
        *top = place.top;
        *width = place.right - place.left;
        *height = place.bottom - place.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (!end) return E_POINTER;
        VariantInit(end);
        if (!IsWindow(window_)) return RPC_E_DISCONNECTED;
        long from = 0;
        const bool fromSelf = ChildIdOf(start, from) && from == CHILDID_SELF;
        if (shape_ == AccessibleShape::Window && fromSelf && direction == NAVDIR_FIRSTCHILD) return PaintedObject(end);
        if (standard_) return standard_->accNavigate(direction, start, end);
        if (!ChildIdOf(start, from)) return E_INVALIDARG;
        const long count = source_.OwnChildCount(window_, objectId_);
        long to = 0;
        if (from == CHILDID_SELF) {
            if (direction == NAVDIR_FIRSTCHILD) to = 1;
            if (direction == NAVDIR_LASTCHILD) to = count;
        } else if (direction == NAVDIR_NEXT || direction == NAVDIR_RIGHT) {
            to = from + 1;
        } else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_LEFT) {
            to = from - 1;
        }
        if (to < 1 || to > count) return S_FALSE;
        *end = IntegerVariant(to);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
        if (!hit) return E_POINTER;
        VariantInit(hit);
        if (!IsWindow(window_)) return RPC_E_DISCONNECTED;
        if (shape_ == AccessibleShape::Window && source_.OwnChildAt(window_, paintedId_, {x, y}) >= 0)
            return PaintedObject(hit);
        if (standard_) return standard_->accHitTest(x, y, hit);
        const long child = source_.OwnChildAt(window_, objectId_, {x, y});
        if (child < 0) return S_FALSE;
        *hit = IntegerVariant(child);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!IsWindow(window_)) return RPC_E_DISCONNECTED;
        long id = 0;
        const bool self = ChildIdOf(child, id) && id == CHILDID_SELF;
        if (shape_ == AccessibleShape::Window || (shape_ == AccessibleShape::Control && !self))
            return standard_->accDoDefaultAction(child);
        if (!ChildIdOf(child, id) || id < 0 || id > source_.OwnChildCount(window_, objectId_)) return E_INVALIDARG;
        if (source_.Describe(window_, objectId_, id).defaultAction.empty()) return DISP_E_MEMBERNOTFOUND;
        source_.DoDefaultAction(window_, objectId_, id);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        // Typing into an edit field is the standard proxy's business.
        if (!IsWindow(window_)) return RPC_E_DISCONNECTED;
        return standard_ ? standard_->put_accValue(child, value) : E_NOTIMPL;
    }

    // IEnumVARIANT (Window shape): the painted object, then the standard proxy's children.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override {
        if (!items) return E_POINTER;
        ULONG got = 0;
        if (count > 0 && !paintedListed_) {
            VariantInit(&items[0]);
            if (SUCCEEDED(PaintedObject(&items[0]))) ++got;
            paintedListed_ = true;
        }
        if (got < count && standardChildren_) {
            ULONG more = 0;
            standardChildren_->Next(count - got, items + got, &more);
            got += more;
        }
        if (fetched) *fetched = got;
        return got == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        if (count > 0 && !paintedListed_) {
            paintedListed_ = true;
            --count;
        }
        if (count == 0) return S_OK;
        return standardChildren_ ? standardChildren_->Skip(count) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        paintedListed_ = false;
        return standardChildren_ ? standardChildren_->Reset() : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT**) override { return E_NOTIMPL; }

private:
    ~AccessibleObject() = default;

    // The object's own part (child 0, or every child of a painted object) from the
    // source; the rest from the standard proxy.
    bool Own(const VARIANT& child, long& id) const {
        if (!ChildIdOf(child, id)) return false;
        if (shape_ == AccessibleShape::Painted) return id >= 0 && id <= source_.OwnChildCount(window_, objectId_);
        return shape_ == AccessibleShape::Control && id == CHILDID_SELF;
    }

    HRESULT Text(const VARIANT& child, BSTR* result, HRESULT (STDMETHODCALLTYPE IAccessible::*standard)(VARIANT, BSTR*),
                 std::wstring AccessibleInfo::*field) {
        if (!result) return E_POINTER;
        *result = nullptr;
        if (!IsWindow(window_)) return RPC_E_DISCONNECTED;
        long id = 0;
        if (Own(child, id)) return ReturnText(source_.Describe(window_, objectId_, id).*field, result);
        if (!standard_) return E_INVALIDARG;
        return (standard_.get()->*standard)(child, result);
    }

    HRESULT Number(const VARIANT& child, VARIANT* result,
                   HRESULT (STDMETHODCALLTYPE IAccessible::*standard)(VARIANT, VARIANT*), long AccessibleInfo::*field) {
        if (!result) return E_POINTER;
        VariantInit(result);
        if (!IsWindow(window_)) return RPC_E_DISCONNECTED;
        long id = 0;
        if (Own(child, id)) {
            *result = IntegerVariant(source_.Describe(window_, objectId_, id).*field);
            return S_OK;
        }
        if (!standard_) return E_INVALIDARG;
        return (standard_.get()->*standard)(child, result);
    }

    // The painted object as a full object of its own (VT_DISPATCH).
    HRESULT PaintedObject(VARIANT* result) {
        auto* painted = new (std::nothrow) AccessibleObject(window_, paintedId_, AccessibleShape::Painted, 0, source_);
        if (!painted) return E_OUTOFMEMORY;
        result->vt = VT_DISPATCH;
        result->pdispVal = static_cast<IAccessible*>(painted); // the one reference goes to the caller
        return S_OK;
    }

    // The selected simple child, found by its state; 0 when none is selected.
    long SelectedChild() const {
        const long count = source_.OwnChildCount(window_, objectId_);
        for (long id = 1; id <= count; ++id) {
            if (source_.Describe(window_, objectId_, id).state & AccessibleState::Selected) return id;
        }
        return 0;
    }

    std::atomic<ULONG> references_{1};
    const HWND window_;
    const long objectId_;
    const AccessibleShape shape_;
    const long paintedId_;
    AccessibleSource& source_;
    ComRef<IAccessible> standard_;
    ComRef<IEnumVARIANT> standardChildren_;
    bool paintedListed_ = false;
};

} // namespace

LRESULT AnswerGetObject(HWND window, long objectId, AccessibleShape shape, long paintedId, WPARAM wParam,
                        AccessibleSource& source) {
    auto* object = new (std::nothrow) AccessibleObject(window, objectId, shape, paintedId, source);
    if (!object) return 0;
    LRESULT result = 0;
    if (object->Usable()) result = LresultFromObject(AccessibleInterfaceId, wParam, static_cast<IAccessible*>(object));
    object->Release(); // LresultFromObject holds its own reference while the answer travels
    return result > 0 ? result : 0;
}

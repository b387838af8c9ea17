// The one IUnknown and class-factory pattern of this code base.
//
// An object derives from ComObject<Self, I1, I2, ...>: it starts with a
// reference count of 1, answers QueryInterface for IUnknown, IDispatch (when
// one of its interfaces is dual) and each listed interface, and keeps the
// module alive while it exists. Destructors are private to the object; the
// last Release deletes it.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oaidl.h>

#include <atomic>
#include <new>
#include <tuple>
#include <type_traits>

#include <wrl/client.h>

namespace com {

// Live objects plus server locks. A DLL answers DllCanUnloadNow from it; a
// local server quits when it drops to zero.
class Module {
public:
    static void Lock() noexcept { ++count(); }
    static void Unlock() noexcept {
        if (--count() == 0 && onIdle()) onIdle()();
    }
    static long Count() noexcept { return count(); }
    static void SetOnIdle(void (*callback)()) noexcept { onIdle() = callback; }

private:
    static std::atomic<long>& count() noexcept {
        static std::atomic<long> c{0};
        return c;
    }
    static void (*&onIdle() noexcept)() {
        static void (*callback)() = nullptr;
        return callback;
    }
};

template <typename Derived, typename... Interfaces>
class ComObject : public Interfaces... {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown) {
            *ppv = static_cast<IUnknown*>(static_cast<First*>(this));
        } else if (riid == IID_IDispatch && kHasDispatch) {
            *ppv = dispatch();
        } else {
            ((*ppv == nullptr && riid == __uuidof(Interfaces)
                  ? (void)(*ppv = static_cast<Interfaces*>(this))
                  : (void)0),
             ...);
        }
        if (!*ppv) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

protected:
    ComObject() noexcept { Module::Lock(); }
    // For objects that must not keep the module alive: a local server's
    // registered class object is held by COM until it is revoked, so counting
    // it would keep the server running for ever.
    struct Uncounted {};
    explicit ComObject(Uncounted) noexcept : counted_(false) {}
    virtual ~ComObject() {
        if (counted_) Module::Unlock();
    }

private:
    using First = std::tuple_element_t<0, std::tuple<Interfaces...>>;
    static constexpr bool kHasDispatch = (std::is_base_of_v<IDispatch, Interfaces> || ...);

    IDispatch* dispatch() noexcept {
        IDispatch* found = nullptr;
        ((found == nullptr && std::is_base_of_v<IDispatch, Interfaces>
              ? (void)(found = dispatchOf<Interfaces>())
              : (void)0),
         ...);
        return found;
    }
    template <typename I>
    IDispatch* dispatchOf() noexcept {
        if constexpr (std::is_base_of_v<IDispatch, I>) return static_cast<I*>(this);
        else return nullptr;
    }

    std::atomic<ULONG> refs_{1};
    bool counted_ = true;
};

// Creates a T for each request; T must be default-constructible.
template <typename T>
class ClassFactory final : public ComObject<ClassFactory<T>, IClassFactory> {
    using Base = ComObject<ClassFactory<T>, IClassFactory>;

public:
    ClassFactory() noexcept = default;
    // The class object a local server registers: only its objects and
    // LockServer keep the server alive.
    static ClassFactory* NewRegistered() noexcept {
        return new (std::nothrow) ClassFactory(typename Base::Uncounted{});
    }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        T* object = new (std::nothrow) T();
        if (!object) return E_OUTOFMEMORY;
        HRESULT hr = object->QueryInterface(riid, ppv);
        object->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock) Module::Lock();
        else Module::Unlock();
        return S_OK;
    }

private:
    explicit ClassFactory(typename Base::Uncounted u) noexcept : Base(u) {}
    ~ClassFactory() override = default;
};

// Takes over a reference the caller already owns (a new object's first).
// MinGW's ComPtr::Attach adds a reference of its own, unlike Microsoft's, so
// it leaks when handed a fresh object; this does what Attach should.
template <typename I>
void Adopt(Microsoft::WRL::ComPtr<I>& holder, I* owned) noexcept {
    holder.Reset();
    *holder.GetAddressOf() = owned;
}

}  // namespace com

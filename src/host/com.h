#pragma once
// COM pointers and COM objects of the project's own, so that no reference is counted by hand.
// mingw's ComPtr::Attach adds a reference (unlike Microsoft's), which leaks freshly created
// objects; this pointer's adopt() does not.

#include <windows.h>
#include <unknwn.h>

#include <atomic>
#include <new>
#include <tuple>
#include <type_traits>
#include <utility>

#include "host/webview2.h"

namespace wm::host {

template <class Interface>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    // Shares the pointer: adds a reference.
    explicit ComPtr(Interface* shared) noexcept : p_(shared) {
        if (p_) p_->AddRef();
    }
    ComPtr(const ComPtr& other) noexcept : ComPtr(other.p_) {}
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~ComPtr() { reset(); }

    // Takes over a reference that the caller already owns.
    static ComPtr adopt(Interface* owned) noexcept {
        ComPtr result;
        result.p_ = owned;
        return result;
    }

    void reset() noexcept {
        if (auto* p = std::exchange(p_, nullptr)) p->Release();
    }
    // For out-parameters: releases what is held and hands out the slot.
    Interface** put() noexcept {
        reset();
        return &p_;
    }
    Interface* get() const noexcept { return p_; }
    Interface* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }

    template <class Other>
    ComPtr<Other> query() const noexcept {
        ComPtr<Other> result;
        if (p_) (void)p_->QueryInterface(iid_of<Other>, reinterpret_cast<void**>(result.put()));
        return result;
    }

private:
    Interface* p_ = nullptr;
};

// A COM object implementing Interfaces, with a real, thread-safe reference count that starts at
// one. The only place in the project that uses new and delete.
template <class... Interfaces>
class ComObject : public Interfaces... {
public:
    ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (IsEqualIID(iid, IID_IUnknown)) {
            *out = static_cast<IUnknown*>(static_cast<Primary*>(this));
        } else {
            (void)(try_interface<Interfaces>(iid, out) || ...);
        }
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() noexcept override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

protected:
    virtual ~ComObject() = default;

    template <class Interface>
    bool try_interface(REFIID iid, void** out) noexcept {
        if (!IsEqualIID(iid, iid_of<Interface>)) return false;
        *out = static_cast<Interface*>(this);
        return true;
    }

public:
    using Primary = std::tuple_element_t<0, std::tuple<Interfaces...>>;

private:
    std::atomic<ULONG> refs_{1};
};

// Creates Derived (a ComObject) and hands out its first interface, owning the initial reference.
template <class Derived, class... Args>
ComPtr<typename Derived::Primary> make_com(Args&&... args) {
    auto* object = new (std::nothrow) Derived(std::forward<Args>(args)...);
    return ComPtr<typename Derived::Primary>::adopt(object);
}

namespace detail {
template <class Interface, class Fn, class Signature>
class Handler;

template <class Interface, class Fn, class... Args>
class Handler<Interface, Fn, HRESULT (STDMETHODCALLTYPE Interface::*)(Args...)> final
    : public ComObject<Interface> {
public:
    explicit Handler(Fn fn) : fn_(std::move(fn)) {}
    // No exception may leave through the runtime's call.
    HRESULT STDMETHODCALLTYPE Invoke(Args... args) noexcept override {
        try {
            if constexpr (std::is_void_v<std::invoke_result_t<Fn&, Args...>>) {
                fn_(args...);
                return S_OK;
            } else {
                return fn_(args...);
            }
        } catch (...) {
            return E_UNEXPECTED;
        }
    }

private:
    Fn fn_;
};
}  // namespace detail

// Wraps a callable as the runtime's handler object Interface (any interface whose one method
// beyond IUnknown is Invoke). The callable may return HRESULT or nothing (S_OK).
template <class Interface, class Fn>
ComPtr<Interface> make_handler(Fn&& fn) {
    using H = detail::Handler<Interface, std::decay_t<Fn>, decltype(&Interface::Invoke)>;
    return make_com<H>(std::forward<Fn>(fn));
}

// A string the runtime allocated with CoTaskMemAlloc.
class CoTaskString {
public:
    CoTaskString() = default;
    CoTaskString(const CoTaskString&) = delete;
    CoTaskString& operator=(const CoTaskString&) = delete;
    ~CoTaskString() { CoTaskMemFree(p_); }
    LPWSTR* put() noexcept {
        CoTaskMemFree(std::exchange(p_, nullptr));
        return &p_;
    }
    const wchar_t* get() const noexcept { return p_; }

private:
    LPWSTR p_ = nullptr;
};

}  // namespace wm::host

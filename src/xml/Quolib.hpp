#pragma once
// The reference-counted object base the XML nodes live on. Every object is an
// ClassOf<T>::ObjectDerived: its T part holds the data, its Private::Object part the count.
// Objects are reached only through counted handles (Ref); the last handle to go destroys the
// object, and with it every object only it held. Weak references (WeakRef) refer to an object
// without keeping it alive, as a child refers to its parent.

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <typeinfo>
#include <utility>

namespace Quolib {

namespace Class {
// The errors of the object base.
class XError : public std::logic_error {
  public:
    using std::logic_error::logic_error;
};
class XInvalidOperation : public XError {
  public:
    XInvalidOperation() : XError("Invalid operation called") {}
};
}  // namespace Class

template <class T>
class Ref;

namespace Private {

class ObjectRefCountBase {
  public:
    virtual ~ObjectRefCountBase() = default;

  protected:
    std::atomic<int> m_nRefCount{0};
};

class Object;

// The block an object shares with its weak references: it outlives the object and tells them
// whether it is still there. Once an object has one, its count changes under the block's lock,
// so that a weak reference never revives an object on its way out.
class ObjectWeakPtr : public ObjectRefCountBase {
  public:
    explicit ObjectWeakPtr(Object* pObject);
    void AddHolder() { m_nRefCount.fetch_add(1, std::memory_order_relaxed); }
    void DropHolder();
    // A counted hold on the object, or nullptr when it is gone.
    Object* LockObject();

  private:
    friend class Object;
    std::mutex m_lock;
    Object* m_pObject;
};

class Object : public ObjectRefCountBase {
  public:
    Object() = default;
    Object(const Object&) : ObjectRefCountBase() {}
    Object& operator=(const Object&) { return *this; }
    ~Object() override;

    void AddRef();
    void Release();
    int RefCount() const { return m_nRefCount.load(std::memory_order_acquire); }

    // The operations every object has.
    virtual Ref<Object> Clone() const = 0;
    // Copies the data of another object of the same class; another class is a bad cast.
    virtual void Assign(const Object& other) = 0;
    bool IsSame(const Object& other) const { return this == &other; }
    virtual const std::type_info& Type() const = 0;
    // What an object does for an operation its class does not support.
    [[noreturn]] static void InvalidOperation() { throw Class::XInvalidOperation(); }

    // The weak block, made on first request.
    ObjectWeakPtr& WeakBlock();

  private:
    friend class ObjectWeakPtr;
    std::atomic<ObjectWeakPtr*> m_pWeak{nullptr};
};

}  // namespace Private

// A counted handle: the object's data part and its counted interface. Empty handles hold
// neither.
template <class T>
class Ref {
  public:
    Ref() = default;
    // Takes a hold on an object that has one from elsewhere, or none yet.
    Ref(T* pData, Private::Object* pObject) : m_pData(pData), m_pObject(pObject) {
        if (m_pObject != nullptr) {
            m_pObject->AddRef();
        }
    }
    Ref(const Ref& other) : Ref(other.m_pData, other.m_pObject) {}
    Ref(Ref&& other) noexcept
        : m_pData(std::exchange(other.m_pData, nullptr)),
          m_pObject(std::exchange(other.m_pObject, nullptr)) {}
    template <class U>
    Ref(const Ref<U>& other) : Ref(other.Get(), other.GetObject()) {}  // NOLINT: upcast
    Ref& operator=(Ref other) noexcept {
        std::swap(m_pData, other.m_pData);
        std::swap(m_pObject, other.m_pObject);
        return *this;
    }
    ~Ref() {
        if (m_pObject != nullptr) {
            m_pObject->Release();
        }
    }

    T* Get() const { return m_pData; }
    Private::Object* GetObject() const { return m_pObject; }
    T* operator->() const { return m_pData; }
    T& operator*() const { return *m_pData; }
    explicit operator bool() const { return m_pData != nullptr; }

  private:
    T* m_pData = nullptr;
    Private::Object* m_pObject = nullptr;
};

// The handle as one of a derived class, or empty when the object is not one.
template <class U, class T>
Ref<U> RefCast(const Ref<T>& ref) {
    U* pData = dynamic_cast<U*>(ref.Get());
    return pData == nullptr ? Ref<U>() : Ref<U>(pData, ref.GetObject());
}

// A reference that does not keep the object alive.
template <class T>
class WeakRef {
  public:
    WeakRef() = default;
    explicit WeakRef(const Ref<T>& ref) : m_pData(ref.Get()) {
        if (ref.GetObject() != nullptr) {
            m_pBlock = &ref.GetObject()->WeakBlock();
            m_pBlock->AddHolder();
        }
    }
    WeakRef(const WeakRef& other) : m_pData(other.m_pData), m_pBlock(other.m_pBlock) {
        if (m_pBlock != nullptr) {
            m_pBlock->AddHolder();
        }
    }
    WeakRef& operator=(WeakRef other) noexcept {
        std::swap(m_pData, other.m_pData);
        std::swap(m_pBlock, other.m_pBlock);
        return *this;
    }
    ~WeakRef() {
        if (m_pBlock != nullptr) {
            m_pBlock->DropHolder();
        }
    }

    // A counted handle while the object lives, an empty one after.
    Ref<T> Lock() const {
        Private::Object* pObject = m_pBlock == nullptr ? nullptr : m_pBlock->LockObject();
        if (pObject == nullptr) {
            return {};
        }
        Ref<T> ref(m_pData, pObject);
        pObject->Release();  // the hold LockObject took is now the handle's
        return ref;
    }

  private:
    T* m_pData = nullptr;
    Private::ObjectWeakPtr* m_pBlock = nullptr;
};

namespace Private {
// The class object of a class of objects: one counted instance per class.
class ClassImpl : public Object {
  public:
    virtual const std::type_info& ObjectType() const = 0;
};
}  // namespace Private

template <class T>
class ClassOf {
  public:
    class ObjectDerived final : public T, public Private::Object {
      public:
        ObjectDerived() = default;
        explicit ObjectDerived(const T& data) : T(data) {}

        Ref<Private::Object> Clone() const override {
            auto* pCopy = new ObjectDerived(static_cast<const T&>(*this));
            return Ref<Private::Object>(pCopy, pCopy);
        }
        void Assign(const Private::Object& other) override {
            const auto& same = dynamic_cast<const ObjectDerived&>(other);  // std::bad_cast
            static_cast<T&>(*this) = static_cast<const T&>(same);
        }
        const std::type_info& Type() const override { return typeid(T); }
    };

    class ThisClassImpl final : public Private::ClassImpl {
      public:
        const std::type_info& ObjectType() const override { return typeid(T); }
        Ref<T> Create() const { return ClassOf::Create(); }
        Ref<Private::Object> Clone() const override { InvalidOperation(); }
        void Assign(const Private::Object&) override { InvalidOperation(); }
        const std::type_info& Type() const override { return typeid(ThisClassImpl); }
    };

    // A new, default-made object; the handle holds its only reference.
    static Ref<T> Create() {
        auto* pObject = new ObjectDerived();
        return Ref<T>(pObject, pObject);
    }

    // The class object, made on first request.
    static Ref<ThisClassImpl> Class() {
        static const Ref<ThisClassImpl> s_class = [] {
            auto* pClass = new ThisClassImpl();
            return Ref<ThisClassImpl>(pClass, pClass);
        }();
        return s_class;
    }

    // A copy of the object's data as a new object.
    static Ref<T> Clone(const Ref<T>& ref) {
        const Ref<Private::Object> copy = ref.GetObject()->Clone();
        return Ref<T>(dynamic_cast<T*>(copy.GetObject()), copy.GetObject());
    }
};

}  // namespace Quolib

#include "xml/Quolib.hpp"

namespace Quolib::Private {
namespace {

// Guards the making of weak blocks, so that an object gets one only.
std::mutex& WeakBlockMaking() {
    static std::mutex s_lock;
    return s_lock;
}

}  // namespace

ObjectWeakPtr::ObjectWeakPtr(Object* pObject) : m_pObject(pObject) {
    m_nRefCount.store(1, std::memory_order_relaxed);  // the object's own hold
}

void ObjectWeakPtr::DropHolder() {
    if (m_nRefCount.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        delete this;
    }
}

Object* ObjectWeakPtr::LockObject() {
    const std::lock_guard<std::mutex> guard(m_lock);
    if (m_pObject == nullptr) {
        return nullptr;
    }
    m_pObject->m_nRefCount.fetch_add(1, std::memory_order_relaxed);
    return m_pObject;
}

Object::~Object() {
    if (ObjectWeakPtr* pBlock = m_pWeak.load(std::memory_order_acquire)) {
        pBlock->DropHolder();
    }
}

void Object::AddRef() {
    if (ObjectWeakPtr* pBlock = m_pWeak.load(std::memory_order_acquire)) {
        const std::lock_guard<std::mutex> guard(pBlock->m_lock);
        m_nRefCount.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    m_nRefCount.fetch_add(1, std::memory_order_relaxed);
}

void Object::Release() {
    bool bLast = false;
    if (ObjectWeakPtr* pBlock = m_pWeak.load(std::memory_order_acquire)) {
        const std::lock_guard<std::mutex> guard(pBlock->m_lock);
        bLast = m_nRefCount.fetch_sub(1, std::memory_order_acq_rel) == 1;
        if (bLast) {
            pBlock->m_pObject = nullptr;
        }
    } else {
        bLast = m_nRefCount.fetch_sub(1, std::memory_order_acq_rel) == 1;
    }
    if (bLast) {
        delete this;
    }
}

ObjectWeakPtr& Object::WeakBlock() {
    if (ObjectWeakPtr* pBlock = m_pWeak.load(std::memory_order_acquire)) {
        return *pBlock;
    }
    const std::lock_guard<std::mutex> guard(WeakBlockMaking());
    if (ObjectWeakPtr* pBlock = m_pWeak.load(std::memory_order_acquire)) {
        return *pBlock;
    }
    auto* pBlock = new ObjectWeakPtr(this);
    m_pWeak.exchange(pBlock, std::memory_order_acq_rel);
    return *pBlock;
}

}  // namespace Quolib::Private

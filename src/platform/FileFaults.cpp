#include "platform/FileFaults.hpp"

#include <atomic>
#include <cassert>

#include "platform/Path.hpp"

namespace sulvan {
namespace {

std::atomic<const std::vector<SFileFault>*> g_pInstalledFaults{nullptr};

}  // namespace

CFileFaults::CFileFaults(std::vector<SFileFault> faults) : m_faults(std::move(faults)) {
    for (SFileFault& fault : m_faults) {
        fault.strPath = MakeFullPath(fault.strPath);
    }
    [[maybe_unused]] const std::vector<SFileFault>* pBefore =
        g_pInstalledFaults.exchange(&m_faults);
    assert(pBefore == nullptr && "one set of file faults at a time");
}

CFileFaults::~CFileFaults() {
    g_pInstalledFaults.store(nullptr);
}

const SFileFault* CFileFaults::For(const std::string& strFullPath) {
    const std::vector<SFileFault>* pFaults = g_pInstalledFaults.load(std::memory_order_acquire);
    if (pFaults == nullptr) {
        return nullptr;
    }
    for (const SFileFault& fault : *pFaults) {
        if (fault.strPath == strFullPath) {
            return &fault;
        }
    }
    return nullptr;
}

}  // namespace sulvan

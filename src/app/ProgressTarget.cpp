#include "app/ProgressTarget.hpp"

#include "app/CSulvanFileDlg.hpp"

namespace sulvan {
namespace {

CSulvanFileDlg* g_pProgressTarget = nullptr;

}  // namespace

void RegisterProgressTarget(CSulvanFileDlg* pDialog) {
    g_pProgressTarget = pDialog;
}

void UnregisterProgressTarget(const CSulvanFileDlg* pDialog) {
    if (g_pProgressTarget == pDialog) {
        g_pProgressTarget = nullptr;
    }
}

void SetProgress(int nPercent) {
    if (g_pProgressTarget != nullptr) {
        g_pProgressTarget->SetProgress(nPercent);
    }
}

}  // namespace sulvan

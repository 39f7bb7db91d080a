#pragma once
// The one process-wide progress target: the dialog registered at start-up. Conversions that
// report progress through a callback are handed SetProgress.

namespace sulvan {

class CSulvanFileDlg;

void RegisterProgressTarget(CSulvanFileDlg* pDialog);
// Clears the target when it is this dialog (a later dialog may hold it).
void UnregisterProgressTarget(const CSulvanFileDlg* pDialog);
// Sets the progress (0 to 100) of the registered dialog; nothing when none is registered.
void SetProgress(int nPercent);

}  // namespace sulvan

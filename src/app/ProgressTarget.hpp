#pragma once
// The one process-wide progress target: the dialog registered at start-up. Conversions that
// report progress through a callback are handed SetProgress.

namespace sulvan {

class CSulvanFileDlg;

void RegisterProgressTarget(CSulvanFileDlg* pDialog);
// Sets the progress (0 to 100) of the registered dialog; nothing when none is registered.
void SetProgress(int nPercent);

}  // namespace sulvan

#pragma once

#include <functional>

class QProgressDialog;

// Makes progress's Cancel call onCancel and leave the window up, saying
// "Cancelling..." with the button disabled, until the caller closes it: the
// work stops only at its next check, and Qt's own cancel would hide the
// window for the next progress report to bring back without a word.
void StayOpenWhenCancelled(QProgressDialog& progress, const std::function<void()>& onCancel);

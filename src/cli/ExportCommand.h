#pragma once

#include <QStringList>

// tilemont-cli export IN.tlm OUT [options]: returns the exit status
// (0 written, 1 failed, 2 wrong command line).
int RunExportCommand(const QStringList& args);

// tilemont-cli encoders: every encoder's MIME type and parameter listing.
int RunEncodersCommand();

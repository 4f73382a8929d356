#pragma once

#include <QStringList>

// tilemont-cli render-catalogue MANIFEST.json --out DIR [options]: renders
// every room of the manifest with each of its textures, or one slice of
// that work, into DIR/<template's file title>/<texture's file title>.<ext>.
// Returns the exit status (0 every image written or there already, 1 a
// fault in the manifest or an image failed, 2 wrong command line).
// Interrupted by SIGINT or SIGTERM, it stops cleanly and then ends by that
// signal.
int RunRenderCatalogueCommand(const QStringList& args);

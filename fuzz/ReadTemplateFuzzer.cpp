// Feeds arbitrary bytes to the template reader: it must refuse or accept
// them without crashing, hanging or allocating without bound.
#include "document/ArchiveError.h"
#include "document/TemplateFile.h"

#include <QGuiApplication>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const CTemplateData t =
            ReadTemplate(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
        // What was read must be writable again.
        (void)WriteTemplate(t.picture.get(), t.areas);
    } catch (const CArchiveError&) {
    }
    return 0;
}

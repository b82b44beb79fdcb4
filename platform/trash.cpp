#include "trash.h"

#ifdef __linux__
#include <gio/gio.h>
#else
#include <QDir>
#include <QFile>
#include <QFileInfo>
#endif

namespace platform {

#ifdef __linux__
TrashOutcome SystemTrash::moveToTrash(const std::string &path)
{
    GFile *file = g_file_new_for_path(path.c_str());
    GError *error = nullptr;
    TrashOutcome outcome;
    outcome.moved = g_file_trash(file, nullptr, &error);
    if (error) {
        if (!outcome.moved && error->message)
            outcome.reason = error->message;
        g_error_free(error);
    }
    g_object_unref(file);
    return outcome;
}
#else
TrashOutcome SystemTrash::moveToTrash(const std::string &path)
{
    const QString name = QString::fromLocal8Bit(path);
    TrashOutcome outcome;
    outcome.moved = QFile::moveToTrash(name) && !QFileInfo::exists(name);
    return outcome;
}
#endif

} // namespace platform

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
bool SystemTrash::moveToTrash(const std::string &path)
{
    GFile *file = g_file_new_for_path(path.c_str());
    GError *error = nullptr;
    const bool moved = g_file_trash(file, nullptr, &error);
    if (error)
        g_error_free(error);
    g_object_unref(file);
    return moved;
}
#else
bool SystemTrash::moveToTrash(const std::string &path)
{
    const QString name = QString::fromLocal8Bit(path);
    return QFile::moveToTrash(name) && !QFileInfo::exists(name);
}
#endif

} // namespace platform

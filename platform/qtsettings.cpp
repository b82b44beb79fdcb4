#include "qtsettings.h"

#include <QSettings>

namespace platform {

InstallDirSetting QtSettings::installDir()
{
    const QSettings settings(QStringLiteral("Quillmere"), QStringLiteral("brindle"));
    const QVariant value = settings.value(QStringLiteral("Installdir"));
    InstallDirSetting result;
    if (!value.isValid())
        return result;
    if (value.typeId() != QMetaType::QString) {
        result.state = InstallDirSetting::State::WrongType;
        return result;
    }
    result.state = InstallDirSetting::State::Text;
    result.text = value.toString().toLocal8Bit().toStdString();
    return result;
}

} // namespace platform

#include "app/desktop/LogChoice.h"

#include <QSettings>
#include <QString>

namespace rovex {
namespace {

constexpr const char* fileSetting = "log/file";
constexpr const char* layoutsSetting = "log/layouts";

} // namespace

std::filesystem::path LogChoice::path(const std::filesystem::path& root) const { return archives(root).liveLog(); }

LogArchives LogChoice::archives(const std::filesystem::path& root) const
{
    return file ? LogArchives::chosenLog(*file) : LogArchives::productLog(root);
}

LogChoice LogChoice::remembered()
{
    const QSettings settings;
    LogChoice choice;
    const QString file = settings.value(QLatin1StringView(fileSetting)).toString();
    if (!file.isEmpty())
        choice.file = std::filesystem::path(file.toStdString());
    // Anything but "all" (a setting edited by hand, say) keeps the product's layout.
    if (settings.value(QLatin1StringView(layoutsSetting)).toString() == QLatin1StringView("all"))
        choice.layouts = LayoutSetting::All;
    return choice;
}

void LogChoice::remember() const
{
    QSettings settings;
    if (file)
        settings.setValue(QLatin1StringView(fileSetting), QString::fromStdString(file->string()));
    else
        settings.remove(QLatin1StringView(fileSetting));
    settings.setValue(QLatin1StringView(layoutsSetting),
                      QLatin1StringView(layouts == LayoutSetting::All ? "all" : "product"));
}

} // namespace rovex

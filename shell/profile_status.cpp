#include "shell/profile_status.h"

#include "profiles/pages/application_links.h"
#include "profiles/pages/profile_pages.h"
#include "shell/control/user_arguments.h"

#include <QJsonArray>
#include <QString>

namespace zq::shell {

QJsonObject profileCategoryJson(const profiles::pages::ProfilePages& pages,
                                profiles::ProfileCategory category) {
    const profiles::pages::CategoryStatus s = pages.status(category);
    QJsonArray names;
    for (const std::string& name : s.names) names.append(QString::fromStdString(name));
    QJsonObject links;
    for (const auto& link : profiles::pages::categoryLinks(category))
        links.insert(QString::number(link.position), QString::fromStdString(link.path));
    return {{"names", names}, {"active", s.active}, {"saved", s.saved}, {"links", links}};
}

QJsonObject profileStatusJson(const profiles::pages::ProfilePages& pages) {
    QJsonObject out;
    for (const auto& [category, key] : control::kProfileCategoryKeys)
        out.insert(QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())),
                   profileCategoryJson(pages, category));
    return out;
}

} // namespace zq::shell

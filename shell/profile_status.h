#pragma once
// What `status` and the profile commands of zq70ctl say of the profile lists, as JSON.
#include "profiles/profile_category.h"

#include <QJsonObject>

namespace zq::profiles::pages {
class ProfilePages;
}

namespace zq::shell {

// One category: its names, the list's current position, the saved selection and the linked programs.
QJsonObject profileCategoryJson(const profiles::pages::ProfilePages& pages,
                                profiles::ProfileCategory category);
// Every category under its key ("ms_device", "mp_deng", ...).
QJsonObject profileStatusJson(const profiles::pages::ProfilePages& pages);

} // namespace zq::shell

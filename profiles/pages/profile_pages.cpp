#include "profiles/pages/profile_pages.h"

namespace zq::profiles::pages {

ProfilePages::ProfilePages(PageContext& context, settings::pages::SettingsPages& settings)
    : ctx_(context), settings_(settings) {}

void ProfilePages::start() {}

void ProfilePages::save(unsigned) {}

CategoryStatus ProfilePages::status(ProfileCategory) const { return {}; }

} // namespace zq::profiles::pages

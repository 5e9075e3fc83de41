#pragma once
// Makes the custom controls known to the layout loader under the class names the layouts use.
namespace zq::controls {

void registerCustomControls();

} // namespace zq::controls

#pragma once

#include <cstdint>
#include <string_view>

namespace turnlet {

// How the rest of the system sees the program's own virtual display.
inline constexpr std::string_view TurnletVirtualDisplayName = "Turnlet Desktop";
inline constexpr std::uint32_t TurnletVirtualDisplayVendorID = 0x544C;
inline constexpr std::uint32_t TurnletVirtualDisplayProductID = 0x5452;

}  // namespace turnlet

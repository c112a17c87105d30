#pragma once

#include <HIToolbox/CarbonEvents.h>

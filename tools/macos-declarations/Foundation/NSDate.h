#pragma once

// @doc NSTimeInterval /documentation/Foundation/TimeInterval
typedef double NSTimeInterval;

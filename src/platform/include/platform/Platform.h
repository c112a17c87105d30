#pragma once

#include "platform/DisplayServices.h"
#include "platform/Gpu.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"
#include "platform/ObjectRuntime.h"
#include "platform/SerialQueue.h"
#include "platform/TextServices.h"
#include "platform/UserDefaults.h"

namespace turnlet {

// The operating system as the logic sees it: references to one implementation of each service.
// The referenced objects outlive everything built on them.
struct Platform {
  MainLoop& loop;
  QueueFactory& queues;
  DisplayServices& displays;
  UserDefaults& defaults;
  Log& log;
  ObjectRuntime& objects;
  Gpu& gpu;
  TextServices& text;
};

}  // namespace turnlet

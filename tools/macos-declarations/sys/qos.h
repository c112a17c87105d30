#pragma once

// @doc qos_class_t /documentation/Dispatch/qos_class_t macOS 10.10
enum qos_class_t : unsigned int {
  // @doc QOS_CLASS_USER_INTERACTIVE /documentation/Dispatch/QOS_CLASS_USER_INTERACTIVE macOS 10.10
  QOS_CLASS_USER_INTERACTIVE = 0x21,
  // @doc QOS_CLASS_USER_INITIATED /documentation/Dispatch/QOS_CLASS_USER_INITIATED macOS 10.10
  QOS_CLASS_USER_INITIATED = 0x19,
  // @doc QOS_CLASS_DEFAULT /documentation/Dispatch/QOS_CLASS_DEFAULT macOS 10.10
  QOS_CLASS_DEFAULT = 0x15,
  // @doc QOS_CLASS_UTILITY /documentation/Dispatch/QOS_CLASS_UTILITY macOS 10.10
  QOS_CLASS_UTILITY = 0x11,
  // @doc QOS_CLASS_BACKGROUND /documentation/Dispatch/QOS_CLASS_BACKGROUND macOS 10.10
  QOS_CLASS_BACKGROUND = 0x09,
};

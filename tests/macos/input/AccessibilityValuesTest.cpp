#include <gtest/gtest.h>

#include <limits>

#include "macos/input/AccessibilityValues.h"

using namespace turnlet;
using namespace turnlet::macos;

namespace {

using K = AXObject::Kind;

AXObject number(NumberKind kind, std::int64_t s, double r) {
  AXObject o;
  o.kind = K::number;
  o.number = PlatformNumber{kind, s, std::uint64_t(s), r};
  return o;
}
AXObject axValue(std::int64_t type, std::optional<std::pair<double, double>> pair) {
  AXObject o;
  o.kind = K::axValue;
  o.axValueType = type;
  o.axValuePair = pair;
  return o;
}
AXObject array(std::vector<AXObject> items) {
  AXObject o;
  o.kind = K::array;
  o.items = std::move(items);
  return o;
}

struct Element final : AccessibilityElement {};

// What kind of interface value came out: the variant's index, and for arrays their items.
std::string shape(const AccessibilityValue& v) {
  static const char* names[] = {"other", "text", "bool", "double", "point", "size", "element", "array"};
  std::string s = names[v.value.index()];
  if (const auto* items = std::get_if<std::vector<AccessibilityValue>>(&v.value)) {
    s += "[";
    for (const auto& item : *items) s += shape(item) + ",";
    s += "]";
  }
  return s;
}

}  // namespace

TEST(MacAccessibilityValues, PlatformValuesBecomeTheInterfacesLooseTypes) {
  AXObject text;
  text.kind = K::text;
  text.text = "AXWindow";
  AXObject element;
  element.kind = K::element;
  element.element = std::make_shared<Element>();
  AXObject nullElement;
  nullElement.kind = K::element;
  AXObject deep = array({text});
  for (int i = 0; i < axArrayDepthLimit; ++i) deep = array({deep});
  struct Row {
    const char* name;
    AXObject object;
    std::string shape;
  };
  const std::vector<Row> rows = {
      {"text", text, "text"},
      {"true boolean", number(NumberKind::boolean, 1, 1), "bool"},
      {"integer 1 is a number, not a boolean", number(NumberKind::signedInteger, 1, 1), "double"},
      {"real", number(NumberKind::real, 0, 0.5), "double"},
      {"number of unknown encoding", number(NumberKind::other, 0, 0), "other"},
      {"point value", axValue(axValueTypePoint, std::pair(10.0, 20.0)), "point"},
      {"size value", axValue(axValueTypeSize, std::pair(300.0, 200.0)), "size"},
      {"rectangle value", axValue(3, std::pair(1.0, 2.0)), "other"},
      {"error value", axValue(5, std::pair(1.0, 2.0)), "other"},
      {"point value that could not be read", axValue(axValueTypePoint, std::nullopt), "other"},
      {"element", element, "element"},
      {"null element", nullElement, "other"},
      {"array of mixed values", array({text, element, AXObject{}}), "array[text,element,other,]"},
      {"empty array", array({}), "array[]"},
      {"array nested beyond the limit", deep, "array[array[array[array[array[array[array[array[other,],],],],],],],]"},
      {"anything else", AXObject{}, "other"},
  };
  for (const Row& row : rows) EXPECT_EQ(shape(accessibilityValue(row.object)), row.shape) << row.name;

  EXPECT_TRUE(std::get<bool>(accessibilityValue(number(NumberKind::boolean, 1, 1)).value));
  EXPECT_FALSE(std::get<bool>(accessibilityValue(number(NumberKind::boolean, 0, 0)).value));
  EXPECT_EQ(std::get<Point>(accessibilityValue(axValue(axValueTypePoint, std::pair(10.0, 20.0))).value), (Point{10, 20}))
      << "x and y not swapped";
  EXPECT_EQ(std::get<Size>(accessibilityValue(axValue(axValueTypeSize, std::pair(300.0, 200.0))).value), (Size{300, 200}));
  EXPECT_EQ(std::get<AccessibilityElementRef>(accessibilityValue(element).value), element.element) << "the same handle";
}

TEST(MacAccessibilityValues, WrittenValuesHaveAPlatformFormOrAreRefused) {
  const auto written = axObject({Point{1500.5, -20}});
  ASSERT_TRUE(written);
  EXPECT_EQ(written->kind, K::axValue);
  EXPECT_EQ(written->axValueType, axValueTypePoint);
  EXPECT_EQ(written->axValuePair, std::pair(1500.5, -20.0));
  const auto size = axObject({Size{3, 4}});
  ASSERT_TRUE(size);
  EXPECT_EQ(size->axValueType, axValueTypeSize);
  const auto yes = axObject({true});
  ASSERT_TRUE(yes);
  EXPECT_EQ(yes->number.kind, NumberKind::boolean) << "a boolean stays a boolean";
  EXPECT_EQ(axObject({std::string("AXPress")})->text, "AXPress");
  EXPECT_EQ(axObject({2.5})->number.realValue, 2.5);

  EXPECT_FALSE(axObject({AccessibilityValue::Other{}})) << "other has no platform form";
  EXPECT_FALSE(axObject({AccessibilityElementRef()})) << "nor a null element";
  EXPECT_FALSE(axObject({std::vector<AccessibilityValue>{{1.0}, {AccessibilityValue::Other{}}}})) << "nor an array holding one";
  const auto list = axObject({std::vector<AccessibilityValue>{{1.0}, {std::string("a")}}});
  ASSERT_TRUE(list);
  EXPECT_EQ(list->items.size(), 2u);
  // Round trip.
  EXPECT_EQ(std::get<Point>(accessibilityValue(*written).value), (Point{1500.5, -20}));
}

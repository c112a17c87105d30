#include <gtest/gtest.h>

#include <limits>
#include <sstream>

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

// What kind of interface value came out (the variant's index) and what it holds; for arrays their
// items.
std::string shape(const AccessibilityValue& v) {
  static const char* names[] = {"other", "text", "bool", "double", "point", "size", "element", "array"};
  std::ostringstream out;
  out << names[v.value.index()];
  if (const auto* t = std::get_if<std::string>(&v.value)) out << " " << *t;
  if (const auto* b = std::get_if<bool>(&v.value)) out << (*b ? " yes" : " no");
  if (const auto* d = std::get_if<double>(&v.value)) out << " " << *d;
  if (const auto* p = std::get_if<Point>(&v.value)) out << " " << p->x << "," << p->y;
  if (const auto* z = std::get_if<Size>(&v.value)) out << " " << z->width << "x" << z->height;
  if (const auto* items = std::get_if<std::vector<AccessibilityValue>>(&v.value)) {
    out << "[";
    for (const auto& item : *items) out << shape(item) << ",";
    out << "]";
  }
  return out.str();
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
      {"text", text, "text AXWindow"},
      {"true boolean", number(NumberKind::boolean, 1, 1), "bool yes"},
      {"false boolean", number(NumberKind::boolean, 0, 0), "bool no"},
      {"integer 1 is a number, not a boolean", number(NumberKind::signedInteger, 1, 1), "double 1"},
      {"real", number(NumberKind::real, 0, 0.5), "double 0.5"},
      {"number of unknown encoding", number(NumberKind::other, 0, 0), "other"},
      {"point value, x and y in order", axValue(axValueTypePoint, std::pair(10.0, 20.0)), "point 10,20"},
      {"size value", axValue(axValueTypeSize, std::pair(300.0, 200.0)), "size 300x200"},
      {"rectangle value", axValue(3, std::pair(1.0, 2.0)), "other"},
      {"error value", axValue(5, std::pair(1.0, 2.0)), "other"},
      {"point value that could not be read", axValue(axValueTypePoint, std::nullopt), "other"},
      {"element", element, "element"},
      {"null element", nullElement, "other"},
      {"array of mixed values", array({text, element, AXObject{}}), "array[text AXWindow,element,other,]"},
      {"empty array", array({}), "array[]"},
      {"array nested beyond the limit", deep, "array[array[array[array[array[array[array[array[other,],],],],],],],]"},
      {"anything else", AXObject{}, "other"},
  };
  for (const Row& row : rows) EXPECT_EQ(shape(accessibilityValue(row.object)), row.shape) << row.name;

  EXPECT_EQ(std::get<AccessibilityElementRef>(accessibilityValue(element).value), element.element) << "the same handle";
}

TEST(MacAccessibilityValues, WrittenValuesReadBackAsThemselvesOrAreRefused) {
  const std::vector<AccessibilityValue> written = {
      {Point{1500.5, -20}}, {Size{3, 4}}, {true}, {false}, {std::string("AXPress")}, {2.5},
      {std::vector<AccessibilityValue>{{1.0}, {std::string("a")}}}};
  for (const AccessibilityValue& value : written) {
    const auto object = axObject(value);
    ASSERT_TRUE(object) << shape(value);
    EXPECT_EQ(shape(accessibilityValue(*object)), shape(value));
  }
  EXPECT_FALSE(axObject({AccessibilityValue::Other{}})) << "other has no platform form";
  EXPECT_FALSE(axObject({AccessibilityElementRef()})) << "nor a null element";
  EXPECT_FALSE(axObject({std::vector<AccessibilityValue>{{1.0}, {AccessibilityValue::Other{}}}})) << "nor an array holding one";
}

// The conversions must read and write '.' as the decimal separator whatever
// the process locale says: the window switches LC_NUMERIC to the user's
// locale, and a German user's comma must not leak into the design values.

#include "runtime/convert.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

namespace diaspring {
namespace {

// Switches the whole process locale for one scope and restores it after.
class LocaleScope {
 public:
  explicit LocaleScope(const char* name) {
    const char* current = std::setlocale(LC_ALL, nullptr);
    saved_ = current != nullptr ? current : "C";
    ok_ = std::setlocale(LC_ALL, name) != nullptr;
  }
  ~LocaleScope() { std::setlocale(LC_ALL, saved_.c_str()); }
  LocaleScope(const LocaleScope&) = delete;
  LocaleScope& operator=(const LocaleScope&) = delete;

  bool ok() const { return ok_; }

 private:
  std::string saved_;
  bool ok_ = false;
};

// Every conversion on a set of inputs that exercise points, exponents and
// rounding, joined into one list of texts.
std::vector<std::string> conversions() {
  std::vector<std::string> out;
  for (const char* text : {"2.2", "84.7", "-1.5E+20", "1e-5", " 63 . 68 mm", "2,5", "1.00000000000000011102230246251565404236316680908203126"}) {
    const Num n = val(text);
    out.push_back(generalText(n));
    out.push_back(str(n));
    out.push_back(format(n, "0.000"));
    out.push_back(strSingle(static_cast<float>(n.value())));
  }
  for (double x : {0.5, -2.675, 1.8999999999999997, 4592.5583, 1e20, 1.2345e-7}) {
    out.push_back(generalText(x));
    out.push_back(str(x));
    out.push_back(format(x, "0.00"));
    out.push_back(format(x, "0"));
    out.push_back(strSingle(static_cast<float>(x)));
  }
  return out;
}

TEST(Locale, ConversionsIgnoreTheDecimalComma) {
  std::vector<std::string> underC;
  {
    LocaleScope c("C");
    ASSERT_TRUE(c.ok()) << "setlocale(LC_ALL, \"C\") failed";
    underC = conversions();
  }

  LocaleScope german("de_DE.UTF-8");
  ASSERT_TRUE(german.ok()) << "the de_DE.UTF-8 locale is not installed; run scripts/setup.sh to generate it";
  // The locale really uses a decimal comma, so the comparison below means something.
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");

  EXPECT_EQ(conversions(), underC);
  EXPECT_EQ(val("2.5").value(), 2.5);
  EXPECT_EQ(val("2,5").value(), 2.0);
  EXPECT_EQ(format(2.675, "0.00"), "2.68");
  EXPECT_EQ(generalText(0.1 + 0.2), "0.3");
}

}  // namespace
}  // namespace diaspring

#include <gtest/gtest.h>

#include "platform/Host.h"

namespace zemra {
namespace {

TEST(Host, DialogFiltersInTheFileDialogsForm) {
    const struct {
        const char* filter;
        const char* dialog;
        const char* suffix;
    } cases[] = {
        {"csv|*.csv|all|*.*", "csv (*.csv);;all (*.*)", "csv"},
        {"parameter (*.par)|*.par|all|*.*", "parameter (*.par);;all (*.*)", "par"},
        {"text|*.txt;*.dat", "text (*.txt *.dat)", ""},
        {"all|*.*", "all (*.*)", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileDialogFilter(c.filter), c.dialog) << c.filter;
        EXPECT_EQ(DefaultSuffix(c.filter), c.suffix) << c.filter;
    }
}

}  // namespace
}  // namespace zemra

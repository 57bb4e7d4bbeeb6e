// Under Xvfb (the test "shell_pages_xvfb"): pictures of the settings pages in a real window, in English, with the
// settings of a model loaded, for a person to look at (build/screenshots/page_*.png). Elsewhere they skip.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QWidget>
#include <filesystem>

#include "startedform.h"

namespace {

class XvfbPages : public StartedFormTest
{
};

}  // namespace

TEST_F(XvfbPages, PagesWithAModelsSettings)
{
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "runs under Xvfb only";
    const std::filesystem::path dir = std::filesystem::path(SCREENSHOT_DIR);
    std::filesystem::create_directories(dir);
    // A few values of the user's own on top of the model's settings, so that fields show numbers.
    Image& image = form->images.image;
    image[2660] = 125;
    image[2661] = 128;
    image[2662] = 110;
    image[2663] = 20;
    image[2664] = 30;
    image[2667] = 105;
    image[4876] = 30;
    image[4877] = 20;
    ShowImageOnPages(*form, 1);
    form->Show();
    QApplication::processEvents();
    const struct
    {
        int page;
        const char* file;
    } pages[] = {{PAGE_BIKE, "page_bike.png"}, {PAGE_TEST, "page_test.png"}};
    for (const auto& p : pages) {
        form->PageControl1->SetActivePageIndex(p.page);
        form->PageControl1Change(form->PageControl1);
        for (int i = 0; i < 5; ++i) form->Timer1->Fire();
        QApplication::processEvents();
        EXPECT_TRUE(form->Widget()->grab().save(QString::fromStdString((dir / p.file).string())));
    }
}

// The "Save Section" dialog driven as a user would: clicks on the map at the places of map points,
// keys, typing and "Save...". The field and the map stay in step, an ended line is shown, and the
// line saved is the one on screen, shown before it is saved.
#include "app/section_dialog.hpp"
#include "app/section_line_text.hpp"
#include "app/section_map_view.hpp"
#include "tests/app/desktop_test_support.hpp"

#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace tolvex;
using namespace tolvex::test;

namespace {

std::string tiny_png() {
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::white);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

} // namespace

TEST(section_dialog, map_and_field_stay_in_step_and_the_line_on_screen_is_shown_and_saved) {
    const section_map map{{{0, 0}, {100, 0}, {100, 100}, {0, 100}}, {}, {}, {}, {}};
    std::vector<std::vector<map_point>> shown, saved;
    section_dialog_calls calls;
    calls.preview = [&](const std::vector<map_point>& line, int, int) {
        shown.push_back(line);
        return section_preview{tiny_png(), ""};
    };
    calls.save = [&](const std::vector<map_point>& line) {
        saved.push_back(line);
        return true;
    };
    SectionDialog dialog(map, {}, calls);
    dialog.show();
    auto* view = find<SectionMapView>(dialog, "map_view");
    auto* field = find<QLineEdit>(dialog, "txt_line");
    const auto text = [&] { return field->text().toStdString(); };
    const auto click = [&](const map_point& p) {
        QTest::mouseClick(view, Qt::LeftButton, {}, view->to_screen(p).toPoint());
    };

    click({20, 30});
    click({80, 70});
    click({80, 20}); // a double click's first click, then the double click itself
    QTest::mouseDClick(view, Qt::LeftButton, {}, view->to_screen({80, 20}).toPoint());
    ASSERT_EQ(view->line().size(), 3u) << text();
    EXPECT_EQ(text(), map_points_text(view->line()));
    const double pixel = 100.0 / view->width(); // the map is over 100 wide in the view
    EXPECT_NEAR(view->line()[0][0], 20.0, pixel);
    EXPECT_NEAR(view->line()[1][1], 70.0, pixel);
    ASSERT_EQ(shown.size(), 1u) << "the double click ends the line";
    EXPECT_EQ(shown[0], view->line());

    QTest::keyClick(view, Qt::Key_Backspace);
    EXPECT_EQ(view->line().size(), 2u);
    EXPECT_EQ(text(), map_points_text(view->line()));
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(shown.size(), 2u);
    EXPECT_FALSE(find<QLabel>(dialog, "lbl_section")->pixmap().isNull());

    field->selectAll();
    QTest::keyClicks(field, "10,10,90,90");
    EXPECT_EQ(view->line(), (std::vector<map_point>{{10, 10}, {90, 90}}));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(shown.back(), view->line());
    EXPECT_TRUE(saved.empty()) << "Enter in the field shows the section and saves nothing";
    field->selectAll();
    QTest::keyClicks(field, "0,0,50,50");
    find<QPushButton>(dialog, "btn_save")->click(); // shows the typed line's section, then saves
    const std::vector<map_point> typed{{0, 0}, {50, 50}};
    EXPECT_EQ(shown.back(), typed);
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0], typed);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

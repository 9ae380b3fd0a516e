// The pictures on a screen of twice the density (QT_SCALE_FACTOR=2), from the generated files.
#include <QDirIterator>

#include "app_fixture.h"
#include "pictures.h"

namespace gd::test {
namespace {

class TwiceDensity : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        qputenv("QT_SCALE_FACTOR", "2");  // before the one QApplication is made
        QtApp();
    }
    // The program in a folder that holds the generated pictures, a game in play.
    void Start() {
        QDirIterator files(GD_RUN_DIR, {"*.png", "*.bmp"}, QDir::Files);
        while (files.hasNext()) {
            const QString file = files.next();
            ASSERT_TRUE(QFile::link(file, h.home.filePath(QFileInfo(file).fileName())));
        }
        h.Start();
        h.StartPlay();
    }
    // The picture a label shows, as its pixels, and its device pixel ratio.
    static std::pair<QImage, qreal> Shown(const QLabel* label) {
        const QPixmap pm = label->pixmap();
        return {pm.toImage().convertToFormat(QImage::Format_ARGB32), pm.devicePixelRatio()};
    }
    static QImage File(const char* name) {
        return QImage(QString(GD_RUN_DIR) + "/" + name).convertToFormat(QImage::Format_ARGB32);
    }
    void ChooseBoard(const std::string& file) {
        h.s().BackgroundFile = file;
        static_cast<PlayerHooks&>(*h.app).ShowBackground(file);
    }
    AppHarness h;
};

// Guards against pictures blown up from 1x on a 2x screen, and against a picture the windows ask
// for that has no 2x file: the main window, the menu's toolbar and both tile sets are shown,
// and every picture came from its 2x file.
TEST_F(TwiceDensity, EveryPictureShownComesFromItsTwoXFile) {
    ASSERT_EQ(Pictures::ScreenScale(), 2);
    Start();
    EXPECT_EQ(Shown(h.main().Image(0)), std::make_pair(File("blue_a@2x.png"), qreal(2)));
    EXPECT_EQ(Shown(h.main().Hole(0)), std::make_pair(File("blank@2x.png"), qreal(2)));
    EXPECT_EQ(Shown(h.main().light()).second, 2);
    const QLabel* photo = h.main().Picture1();  // fills its frame as at 1x, not half of it
    EXPECT_EQ(Shown(photo).second, 2);
    EXPECT_GT(photo->pixmap().deviceIndependentSize().width(), photo->width() * 0.8);
    const QPixmap board = Pictures::LoadFile(h.File("Marble.bmp"));
    EXPECT_EQ(board.devicePixelRatio(), 2);
    EXPECT_EQ(board.deviceIndependentSize(), QSizeF(h.main().size()));
    h.app->ShowMenu();
    Settle();
    ASSERT_TRUE(h.app->menuForm());
    ChooseBoard("zcontrast.bmp");
    EXPECT_EQ(Shown(h.main().Image(0)), std::make_pair(File("zcontrast_blue_a@2x.png"), qreal(2)));
    EXPECT_EQ(Shown(h.main().Hole(0)).first, File("zcontrast_blank@2x.png"));
    EXPECT_TRUE(h.app->pictures().Missing().isEmpty())
        << h.app->pictures().Missing().join(", ").toStdString();
}

// Guards against an old profile whose board picture is gone: the window falls back to its plain
// art and the ordinary tiles, as it did before boards brought tiles of their own.
TEST_F(TwiceDensity, AMissingBoardKeepsTheOrdinaryTiles) {
    Start();
    ChooseBoard("zcontrast.bmp");
    ChooseBoard("gone.bmp");
    EXPECT_FALSE(h.main().main1()->HasPicture());
    EXPECT_EQ(h.app->pictures().TileSet(), "");
    EXPECT_EQ(Shown(h.main().Image(0)).first, File("blue_a@2x.png"));
}

}  // namespace
}  // namespace gd::test

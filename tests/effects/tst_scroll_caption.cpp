#include <QTest>
#include <cmath>
#include <map>

#include "effects/scroll_caption.h"
#include "platform/look.h"
#include "platform/picture_box.h"

namespace {
constexpr quint32 kBlack = 0x000000;
}

// Three small surfaces: a black background, a work buffer with a crisp (not antialiased) font
// and a display, as the caption uses them.
class Surfaces
{
public:
    explicit Surfaces(QSize size = QSize(200, 150), double points = 12)
        : back(QStringLiteral("back")), work(QStringLiteral("work")), show(QStringLiteral("show"))
    {
        QImage black(size, QImage::Format_RGB32);
        black.fill(Qt::black);
        back.setPicture(black);
        back.resize(size);
        work.resize(size);
        show.resize(size);
        QFont font = QApplication::font();
        font.setPointSizeF(points);
        font.setBold(true);
        font.setStyleStrategy(QFont::NoAntialias);
        work.setFont(font);
    }
    double TH() const { return work.textHeight(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ")); }
    bool draw(const QStringList &lines, qint32 position, quint32 bottom = 0xFFFFFF,
              quint32 top = 0xFFFFFF, qint32 indent = 0, qint32 align = 0)
    {
        return ScrollCaption::DrawScrollText(lines, back, work, show, bottom, top, position, indent,
                                             align);
    }
    const QImage &frame() const { return show.image(); }
    // Columns and rows that hold any non-black pixel.
    QRect inked() const
    {
        QRect r;
        const QImage &img = frame();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if ((img.pixel(x, y) & 0xFFFFFF) != 0)
                    r |= QRect(x, y, 1, 1);
        return r;
    }
    // The colour most of the inked pixels have.
    QColor mainInk() const
    {
        std::map<QRgb, int> counts;
        const QImage &img = frame();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if ((img.pixel(x, y) & 0xFFFFFF) != 0)
                    ++counts[img.pixel(x, y)];
        QRgb best = 0;
        int most = 0;
        for (auto [colour, n] : counts)
            if (n > most)
                best = colour, most = n;
        return QColor(best);
    }

    PictureBox back, work, show;
};

// The frame exactly as its definition reads: every line visited, in order, with the colour
// worked out component by component. The program's frame must give the same pixels.
bool referenceFrame(const QStringList &Lines, PictureBox &BackPic, PictureBox &WorkPic,
                    PictureBox &ShowPic, quint32 BottomColor, quint32 TopColor, qint32 Position,
                    qint32 Indent, qint32 Align)
{
    const qsizetype last = Lines.size() - 1;
    const float TH = float(WorkPic.textHeight(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ")));
    const float SH = float(WorkPic.scaleHeight());
    const float SW = float(WorkPic.scaleWidth());
    int bottom[3], top[3];
    ScrollCaption::SplitColor(BottomColor, bottom[0], bottom[1], bottom[2]);
    ScrollCaption::SplitColor(TopColor, top[0], top[1], top[2]);
    float d[3];
    for (int k = 0; k < 3; ++k)
        d[k] = float(top[k] - bottom[k]) / (SH - TH);
    PictureBox::copyRect(WorkPic, 0, 0, int(std::nearbyint(SW)), int(std::nearbyint(SH)), BackPic,
                         0, 0);
    bool result = true;
    for (qsizetype i = 0; i <= last; ++i) {
        WorkPic.setCurrentY(double(Position) + double(i) * WorkPic.fontSize() + 6.0 * double(i));
        if (Align == 0)
            WorkPic.setCurrentX(0);
        else if (Align == 1)
            WorkPic.setCurrentX(double(SW) - WorkPic.textWidth(Lines[i]));
        else if (Align == 2) // centred; a line wider than the picture from its head
            WorkPic.setCurrentX(std::max(0.0, (double(SW) - WorkPic.textWidth(Lines[i])) / 2));
        WorkPic.setCurrentX(WorkPic.currentX() + Indent);
        const double y = WorkPic.currentY();
        if (-double(TH) <= y && y <= double(SH)) {
            int c[3];
            for (int k = 0; k < 3; ++k) {
                if (BottomColor == TopColor) {
                    c[k] = bottom[k];
                } else {
                    const float value = std::fabs(float(top[k]) - d[k] * float(y));
                    c[k] = std::min(255, int(std::nearbyint(double(value)))); // ties to even
                }
            }
            WorkPic.setForeColor(QColor(c[0], c[1], c[2]));
            WorkPic.print(Lines[i]);
        }
        if (i == last && WorkPic.currentY() <= -double(TH))
            result = false;
    }
    PictureBox::copyRect(ShowPic, 0, 0, int(std::nearbyint(ShowPic.scaleWidth())),
                         int(std::nearbyint(ShowPic.scaleHeight())), WorkPic, 0, 0);
    // No lines at all (an empty file, which the definition leaves open): the pass is over at
    // once instead of running forever.
    return result && last >= 0;
}

class TestScrollCaption : public QObject
{
    Q_OBJECT
private slots:
    void splitsColours();
    void firstLineStartsOnTheBottomEdge();
    void bandEdgesAreInclusive();
    void passEndsWhenTheLastLineLeaves();
    void frameMatchesTheDefinition_data();
    void frameMatchesTheDefinition();
    void gradientRules_data();
    void gradientRules();
    void passGoesOnAgreesWithTheFrame_data();
    void passGoesOnAgreesWithTheFrame();
    void equalColoursEverywhere();
    void gradientEndsAreTheTwoColours();
    void alignmentAndIndent_data();
    void alignmentAndIndent();
    void wideLineShowsItsHead();
    void otherAlignValuesAccumulateIndent();
    void emptyLinesDrawOnlyTheBackground();
    void shortBufferUsesBottomColour();
    void manyLinesGiveTheSamePixelsAsFew();
};

void TestScrollCaption::splitsColours()
{
    int r, g, b;
    ScrollCaption::SplitColor(0x00C0FFFF, r, g, b);
    QCOMPARE((QList<int>{r, g, b}), (QList<int>{255, 255, 192}));
    ScrollCaption::SplitColor(0x000080FF, r, g, b);
    QCOMPARE((QList<int>{r, g, b}), (QList<int>{255, 128, 0}));
}

void TestScrollCaption::firstLineStartsOnTheBottomEdge()
{
    Surfaces s;
    const qint32 SH = qint32(s.work.scaleHeight());
    QVERIFY(s.draw({QStringLiteral("A")}, SH));
    // Printed (the print position moved one line down) but nothing of it shows yet.
    QCOMPARE(s.work.currentY(), SH + s.TH());
    QVERIFY(s.inked().isEmpty());
}

void TestScrollCaption::bandEdgesAreInclusive()
{
    Surfaces s;
    const qint32 atTop = qint32(std::ceil(-s.TH())); // the highest y still inside the band
    s.draw({QStringLiteral("A")}, atTop);
    QCOMPARE(s.work.currentY(), atTop + s.TH());
    s.draw({QStringLiteral("A")}, atTop - 1);
    QCOMPARE(s.work.currentY(), double(atTop - 1)); // skipped
    const qint32 SH = qint32(s.work.scaleHeight());
    s.draw({QStringLiteral("A")}, SH + 1);
    QCOMPARE(s.work.currentY(), double(SH + 1)); // below the band: skipped
}

void TestScrollCaption::passEndsWhenTheLastLineLeaves()
{
    Surfaces s;
    const qint32 atTop = qint32(std::ceil(-s.TH()));
    QVERIFY(s.draw({QStringLiteral("A")}, atTop));
    QVERIFY(!s.draw({QStringLiteral("A")}, atTop - 1));
    // With two lines the pass lasts one line pitch longer.
    const qint32 pitch = qint32(s.work.fontSize() + 6);
    QVERIFY(s.draw({QStringLiteral("A"), QStringLiteral("B")}, atTop - 1));
    QVERIFY(!s.draw({QStringLiteral("A"), QStringLiteral("B")}, atTop - 1 - pitch - 1));
}

void TestScrollCaption::frameMatchesTheDefinition_data()
{
    QTest::addColumn<int>("align");
    QTest::addColumn<int>("indent");
    QTest::addColumn<QString>("where");
    for (int align : {0, 1, 2, 5}) {
        for (const char *where : {"start", "middle", "last line in", "end"}) {
            QTest::addRow("align %d, %s", align, where)
                << align << (align == 5 ? 3 : 1) << QString::fromLatin1(where);
        }
    }
}

void TestScrollCaption::frameMatchesTheDefinition()
{
    QFETCH(int, align);
    QFETCH(int, indent);
    QFETCH(QString, where);
    Surfaces s(QSize(220, 160), 12);
    QImage backdrop(220, 160, QImage::Format_RGB32); // a background with something to copy
    for (int y = 0; y < backdrop.height(); ++y)
        for (int x = 0; x < backdrop.width(); ++x)
            backdrop.setPixel(x, y, qRgb(x, y, (x * y) & 0x3F));
    s.back.setPicture(backdrop);
    QStringList lines;
    for (int k = 0; k < 40; ++k)
        lines.append(k % 3 == 0
                         ? QStringLiteral("名字%1").arg(k)
                         : QStringLiteral("P%1 Wide line %2").arg(k).arg(QString(k % 7, u'W')));
    const double pitch = s.work.fontSize() + 6;
    const double lastTop = double(lines.size() - 1) * pitch;
    qint32 position = 0;
    if (where == QStringLiteral("start"))
        position = qint32(s.work.scaleHeight());
    else if (where == QStringLiteral("middle"))
        position = qint32(-12 * pitch) + 5;
    else if (where == QStringLiteral("last line in"))
        position = qint32(std::floor(-lastTop - s.TH())) + 1;
    else
        position = qint32(std::floor(-lastTop - s.TH())) - 1;

    for (PictureBox *box : {&s.work}) {
        box->setCurrentX(7);
        box->setCurrentY(0);
    }
    const bool expectedResult = referenceFrame(lines, s.back, s.work, s.show, 0x00C0FFFF,
                                               0x000080FF, position, indent, align);
    const QImage expected = s.frame().copy();
    const double expectedX = s.work.currentX(), expectedY = s.work.currentY();
    s.work.setCurrentX(7);
    s.work.setCurrentY(0);
    s.show.setPicture(QImage()); // nothing of the reference's frame may stay behind
    const bool result = s.draw(lines, position, 0x00C0FFFF, 0x000080FF, indent, align);
    QCOMPARE(result, expectedResult);
    QCOMPARE(s.frame(), expected);
    QCOMPARE(s.work.currentX(), expectedX);
    QCOMPARE(s.work.currentY(), expectedY);
    if (where == QStringLiteral("end"))
        QVERIFY(!result);
    else
        QVERIFY(result);
}

void TestScrollCaption::gradientRules_data()
{
    // Buffers of height 12 with lines 10 high: the gradient spans 2 pixels.
    QTest::addColumn<quint32>("bottom");
    QTest::addColumn<quint32>("top");
    QTest::addColumn<float>("y");
    QTest::addColumn<int>("red");
    QTest::newRow("at the top: the top colour") << 0x0000C8u << 0x000014u << 0.0f << 20;
    QTest::newRow("at SH - TH: the bottom colour") << 0x0000C8u << 0x000014u << 2.0f << 200;
    QTest::newRow("0.5 rounds to 0") << 0x000001u << 0x000000u << 1.0f << 0;
    QTest::newRow("1.5 rounds to 2") << 0x000001u << 0x000000u << 3.0f << 2;
    QTest::newRow("2.5 rounds to 2") << 0x000001u << 0x000000u << 5.0f << 2;
    QTest::newRow("below the band: capped at 255") << 0x0000FFu << 0x000000u << 4.0f << 255;
    QTest::newRow("above the band: the absolute value") << 0x0000FAu << 0x00000Au << -1.0f << 110;
}

void TestScrollCaption::gradientRules()
{
    QFETCH(quint32, bottom);
    QFETCH(quint32, top);
    QFETCH(float, y);
    QFETCH(int, red);
    const QColor colour = ScrollCaption::LineColor(bottom, top, 12.0f, 10.0f, y);
    QCOMPARE(colour.red(), red);
    QCOMPARE(colour.green(), 0);
    QCOMPARE(colour.blue(), 0);
}

void TestScrollCaption::passGoesOnAgreesWithTheFrame_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("height");
    QTest::newRow("no line") << 0 << 150;
    QTest::newRow("one line") << 1 << 150;
    QTest::newRow("two lines") << 2 << 150;
    QTest::newRow("thirty lines") << 30 << 150;
    QTest::newRow("a buffer lower than a line") << 3 << 8;
}

void TestScrollCaption::passGoesOnAgreesWithTheFrame()
{
    // The clock asks PassGoesOn on every tick and draws only some frames: it must end the pass
    // where the frame by its definition does, and the program's frame too.
    QFETCH(int, lines);
    QFETCH(int, height);
    Surfaces s(QSize(200, height));
    QStringList text;
    for (int k = 0; k < lines; ++k)
        text.append(QStringLiteral("第%1行").arg(k));
    const qint32 pitch = qint32(s.work.fontSize() + 6);
    const qint32 end = -(lines * pitch + 3 * qint32(std::ceil(s.TH())));
    for (qint32 position = height + 3; position >= end; --position) {
        const bool defined =
            referenceFrame(text, s.back, s.work, s.show, 0xFFFFFF, 0x0000FF, position, 1, 2);
        QVERIFY2(ScrollCaption::PassGoesOn(text, s.work, position) == defined,
                 qPrintable(QStringLiteral("position %1").arg(position)));
        QVERIFY2(s.draw(text, position, 0xFFFFFF, 0x0000FF, 1, 2) == defined,
                 qPrintable(QStringLiteral("position %1").arg(position)));
    }
}

void TestScrollCaption::equalColoursEverywhere()
{
    Surfaces s;
    QStringList lines;
    for (int k = 0; k < 8; ++k)
        lines.append(QStringLiteral("HHHH"));
    s.draw(lines, 0, 0x0000D7FF, 0x0000D7FF);
    const QImage &img = s.frame();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y) & 0xFFFFFF;
            QVERIFY(p == 0 || QColor(p) == Look::bgr(0x0000D7FF));
        }
}

void TestScrollCaption::gradientEndsAreTheTwoColours()
{
    Surfaces s;
    s.draw({QStringLiteral("HHHH")}, 0, 0x00C0FFFF, 0x000080FF);
    QCOMPARE(s.mainInk(), Look::bgr(0x000080FF)); // top colour at y = 0
    const qint32 bottom = qint32(s.work.scaleHeight() - s.TH());
    if (bottom == s.work.scaleHeight() - s.TH()) {
        s.draw({QStringLiteral("HHHH")}, bottom, 0x00C0FFFF, 0x000080FF);
        QCOMPARE(s.mainInk(), Look::bgr(0x00C0FFFF)); // bottom colour at y = SH - TH
    }
    // Half-way the colour lies between the two.
    s.draw({QStringLiteral("HHHH")}, bottom / 2, 0x00C0FFFF, 0x000080FF);
    const QColor middle = s.mainInk();
    QVERIFY(middle.green() > 128 && middle.green() < 255);
}

void TestScrollCaption::alignmentAndIndent_data()
{
    QTest::addColumn<int>("align");
    QTest::addColumn<int>("indent");
    QTest::newRow("left") << 0 << 0;
    QTest::newRow("left, indent 7") << 0 << 7;
    QTest::newRow("right") << 1 << 0;
    QTest::newRow("right, indent 1") << 1 << 1;
    QTest::newRow("centred") << 2 << 0;
    QTest::newRow("centred, indent 1") << 2 << 1;
}

void TestScrollCaption::alignmentAndIndent()
{
    QFETCH(int, align);
    QFETCH(int, indent);
    Surfaces s;
    const QString line = QStringLiteral("HIH");
    s.draw({line}, 10, 0xFFFFFF, 0xFFFFFF, 0, 0);
    const int leftEdge = s.inked().left(); // the glyph's own bearing at x = 0
    s.draw({line}, 10, 0xFFFFFF, 0xFFFFFF, indent, align);
    const double free = s.work.scaleWidth() - s.work.textWidth(line);
    const double expected = (align == 0 ? 0 : align == 1 ? free : free / 2) + indent;
    QVERIFY2(
        std::abs(s.inked().left() - leftEdge - expected) <= 1.0,
        qPrintable(
            QStringLiteral("left %1 expected %2").arg(s.inked().left() - leftEdge).arg(expected)));
}

void TestScrollCaption::wideLineShowsItsHead()
{
    Surfaces s(QSize(60, 60));
    const QString line = QStringLiteral("________________");
    QVERIFY(s.work.textWidth(line) > 100); // starts well left of the buffer
    s.draw({line}, 10, 0xFFFFFF, 0xFFFFFF, 0, 2);
    QCOMPARE(s.inked().left(), 0);
    QCOMPARE(s.inked().right(), 59);

    // Centred, a line wider than the buffer shows its head: here only the first character
    // is ink, and it is drawn at the left edge.
    const QString head = QStringLiteral("H") + QString(40, u' ');
    QVERIFY(s.work.textWidth(head) > 100);
    s.draw({head}, 10, 0xFFFFFF, 0xFFFFFF, 0, 2);
    QVERIFY(!s.inked().isEmpty());
    QVERIFY(s.inked().left() <= 2);
}

void TestScrollCaption::otherAlignValuesAccumulateIndent()
{
    Surfaces s;
    const double pitch = s.work.fontSize() + 6;
    const QStringList lines{QStringLiteral("H"), QStringLiteral("H"), QStringLiteral("H")};
    // Line 2 as low as it can be with line 1 a pitch above it still outside the band: three
    // indents before line 2 is printed.
    const qint32 lineTwo = qint32(std::ceil(pitch - s.TH())) - 1;
    const qint32 position = lineTwo - qint32(2 * pitch);
    QVERIFY(double(position) + pitch < -s.TH()); // line 1 is not printed
    s.work.setCurrentX(0);
    s.draw({QStringLiteral("H")}, lineTwo, 0xFFFFFF, 0xFFFFFF, 0, 0);
    QVERIFY(!s.inked().isEmpty()); // enough of line 2 shows to find its left edge
    const int base = s.inked().left();
    s.work.setCurrentX(0);
    s.draw(lines, position, 0xFFFFFF, 0xFFFFFF, 4, 9);
    QCOMPARE(s.inked().left() - base, 12);
}

void TestScrollCaption::emptyLinesDrawOnlyTheBackground()
{
    Surfaces s;
    QVERIFY(!s.draw({}, 0));
    QVERIFY(s.inked().isEmpty());
}

void TestScrollCaption::shortBufferUsesBottomColour()
{
    Surfaces s(QSize(100, 10), 12);
    QVERIFY(s.work.scaleHeight() <= s.TH());
    s.draw({QStringLiteral("HHH")}, 0, 0x00C0FFFF, 0x000080FF);
    QCOMPARE(s.mainInk(), Look::bgr(0x00C0FFFF));
}

void TestScrollCaption::manyLinesGiveTheSamePixelsAsFew()
{
    // A frame visits only the lines near the band: a long caption must draw exactly what the
    // lines in view would draw.
    QStringList many;
    for (int k = 0; k < 100000; ++k)
        many.append(QStringLiteral("名字 %1").arg(k));
    for (qint32 position : {150, 0, -500, -27 * 50000}) {
        Surfaces a, b;
        QVERIFY(a.draw(many, position, 0x00C0FFFF, 0x000080FF, 1, 2));
        const double pitch = b.work.fontSize() + 6;
        const int first = std::max(0, int((-position) / pitch) - 3);
        QStringList few;
        for (int k = 0; k < first + 20 && k < many.size(); ++k)
            few.append(k < first ? QString() : many[k]);
        b.draw(few, position, 0x00C0FFFF, 0x000080FF, 1, 2);
        QCOMPARE(a.frame(), b.frame());
    }
}

QTEST_MAIN(TestScrollCaption)
#include "tst_scroll_caption.moc"

#include "windows/prize_settings_form.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/look.h"
#include "platform/message_box.h"
#include "platform/numeric_text.h"
#include "settings/rwini.h"
#include "windows/author_credit.h"
#include "windows/key_filters.h"
#include "windows/window_setup.h"

using WindowSetup::placeTwips;

namespace {

struct Setting
{
    int field;
    const char16_t *section;
    const char16_t *key;
};

// Field, section and key, in the order the fields are saved.
constexpr Setting kSettings[] = {
    {7, u"公司名称", u"公司名称"}, {8, u"公司名称", u"活动名称"}, {1, u"一等奖", u"次数"},
    {2, u"一等奖", u"人数"},       {9, u"一等奖", u"奖品"},       {3, u"二等奖", u"次数"},
    {4, u"二等奖", u"人数"},       {10, u"二等奖", u"奖品"},      {5, u"三等奖", u"次数"},
    {6, u"三等奖", u"人数"},       {11, u"三等奖", u"奖品"},      {12, u"作者信息", u"昵称"},
    {13, u"作者信息", u"QQ"},      {14, u"作者信息", u"微信"},
};
constexpr int kLoadedSettings = 11; // the author credit is saved, never loaded
constexpr int kCountFields[] = {1, 2, 3, 4, 5, 6};

QString str(const char16_t *text)
{
    return QString::fromUtf16(text);
}

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QGroupBox *makeFrame(QWidget *parent, const QString &name, const QString &title, quint32 colour)
{
    auto *frame = new QGroupBox(title, parent);
    frame->setObjectName(name);
    frame->setStyleSheet(
        QStringLiteral("QGroupBox::title { color: %1; }").arg(Look::bgr(colour).name()));
    return frame;
}

// Whether a count converts to a whole number of rounds or winners the draw can use.
bool isUsableCount(const QString &text)
{
    const std::optional<qint16> value = NumericText::toInt16(text);
    return value && *value >= 1;
}

} // namespace

PrizeSettingsForm::PrizeSettingsForm(QWidget *parent) : QWidget(parent)
{
    WindowSetup::makeDialogWindow(this, QStringLiteral("奖项设置"),
                                  QStringLiteral("公司及活动名称、奖项设置"), 5910, 7350);
    buildControls();
    Form_Load();
}

void PrizeSettingsForm::buildControls()
{
    const QFont heading = Look::font(Look::Face::HeiTi, 12, false);
    const QFont entry = Look::font(Look::Face::SongTi, 12, false);
    auto makeField = [this](QWidget *parent, int number, const QString &text) {
        auto *edit = new QLineEdit(text, parent);
        edit->setObjectName(QStringLiteral("Text%1").arg(number));
        m_fields[size_t(number)] = edit;
        return edit;
    };

    QLabel *label8 = makeLabel(this, QStringLiteral("Label8"),
                               QStringLiteral("请在下面键入你公司抽奖项目标题："));
    label8->setFont(heading);
    placeTwips(label8, 135, 90, 3840, 240);

    QGroupBox *frame4 =
        makeFrame(this, QStringLiteral("Frame4"),
                  QStringLiteral("公司名称、活动名称：（字数最多20个）"), 0x00C00000);
    placeTwips(frame4, 135, 495, 5640, 1500);
    QLineEdit *text7 = makeField(frame4, 7, QStringLiteral("星辰科技有限公司"));
    text7->setFont(entry);
    placeTwips(text7, 220, 360, 5100, 360);
    QLineEdit *text8 = makeField(frame4, 8, QStringLiteral("2016年元旦表彰年会抽奖现场"));
    text8->setFont(entry);
    placeTwips(text8, 220, 900, 5100, 390);

    QLabel *label1 = makeLabel(this, QStringLiteral("Label1"),
                               QStringLiteral("请在下面设置各奖项人数以及奖品名称："));
    label1->setFont(heading);
    placeTwips(label1, 135, 2160, 4320, 240);

    struct LevelFrame
    {
        const char16_t *frame, *title;
        int top;
        int roundsField, winnersField, prizeField;
        const char16_t *roundsLabel, *winnersLabel, *prizeLabel;
        const char16_t *rounds, *winners, *prize;
        int winnersTop, winnersLabelTop, winnersWidth, prizeTop, prizeLabelTop, roundsWidth,
            prizeLeft, prizeWidth;
    };
    const LevelFrame levels[] = {
        {u"Frame1", u"一等奖：", 2565,      1,    2,    9,
         u"Label2", u"Label3",   u"Label9", u"1", u"2", u"苹果 iPhone 6S 一部",
         360,       405,         960,       855,  900,  1050,
         1260,      3255},
        {u"Frame2", u"二等奖：", 4005,       3,    4,    10,
         u"Label4", u"Label5",   u"Label10", u"2", u"3", u"小米Note顶配版 4G RAM 一部",
         405,       450,         1050,       900,  945,  1050,
         1260,      3255},
        {u"Frame3", u"三等奖：",      5445, 5,   6,    11,  u"Label6", u"Label7", u"Label11", u"3",
         u"4",      u"人民币 500 元", 360,  405, 1050, 900, 945,       735,       1215,       3300},
    };
    for (const LevelFrame &l : levels) {
        QGroupBox *frame = makeFrame(this, str(l.frame), str(l.title), 0x00FF00FF);
        placeTwips(frame, 135, l.top, 5655, 1305);
        placeTwips(makeLabel(frame, str(l.roundsLabel), QStringLiteral("抽奖次数：")), 270, 405,
                   900, 180);
        placeTwips(makeField(frame, l.roundsField, str(l.rounds)), 1260, 360, l.roundsWidth, 270);
        placeTwips(makeLabel(frame, str(l.winnersLabel), QStringLiteral("每次中奖人数：")), 2925,
                   l.winnersLabelTop, 1260, 180);
        placeTwips(makeField(frame, l.winnersField, str(l.winners)), 4320, l.winnersTop,
                   l.winnersWidth, 270);
        placeTwips(makeLabel(frame, str(l.prizeLabel), QStringLiteral("奖品名称：")), 270,
                   l.prizeLabelTop, 900, 180);
        placeTwips(makeField(frame, l.prizeField, str(l.prize)), l.prizeLeft, l.prizeTop,
                   l.prizeWidth, 285);
    }
    for (QLabel *label : findChildren<QLabel *>()) {
        if (label != label8 && label != label1)
            label->adjustSize(); // the small captions must not be cut off
    }

    m_ok = new QPushButton(QStringLiteral("确 定"), this);
    m_ok->setObjectName(QStringLiteral("ok"));
    placeTwips(m_ok, 1080, 6840, 1125, 405);
    m_reset = new QPushButton(QStringLiteral("重 置"), this);
    m_reset->setObjectName(QStringLiteral("reset"));
    placeTwips(m_reset, 4005, 6795, 1125, 405);
    connect(m_ok, &QPushButton::clicked, this, &PrizeSettingsForm::ok_Click);
    connect(m_reset, &QPushButton::clicked, this, &PrizeSettingsForm::reset_Click);

    // The author credit: off to the right of the client area, saved but never seen.
    placeTwips(makeField(this, 12, AuthorCredit::alias()), 9045, 1530, 1545, 285);
    placeTwips(makeField(this, 13, AuthorCredit::qq()), 9000, 1890, 1680, 330);
    placeTwips(makeField(this, 14, AuthorCredit::weChat()), 9045, 2340, 1770, 375);

    for (int number : {1, 3, 4, 5, 6})
        KeyFilters::install(m_fields[size_t(number)], KeyFilters::Kind::Strict);
    KeyFilters::install(m_fields[2], KeyFilters::Kind::Loose);

    QWidget *previous = m_ok;
    setTabOrder(m_ok, m_reset);
    previous = m_reset;
    for (int number = 1; number <= 14; ++number) {
        setTabOrder(previous, m_fields[size_t(number)]);
        previous = m_fields[size_t(number)];
    }
}

void PrizeSettingsForm::Form_Load()
{
    // Titles, then per level rounds, winners and prize: the file's order of keys.
    for (int k = 0; k < kLoadedSettings; ++k) {
        const Setting &s = kSettings[k];
        m_fields[size_t(s.field)]->setText(ReadIni(str(s.section), str(s.key), QString()));
    }
}

QLineEdit *PrizeSettingsForm::field(int number) const
{
    return m_fields.at(size_t(number));
}

QString PrizeSettingsForm::fieldText(int number) const
{
    return field(number)->text();
}

void PrizeSettingsForm::showForward()
{
    WindowSetup::showForward(this, m_shownBefore);
    m_ok->setFocus();
}

void PrizeSettingsForm::ok_Click()
{
    // The field shows what the file will hold: a pasted value's line breaks as blanks.
    for (QLineEdit *field : m_fields) {
        if (field && oneLine(field->text()) != field->text())
            field->setText(oneLine(field->text()));
    }
    for (const Setting &s : kSettings)
        WriteIni(str(s.section), str(s.key), fieldText(s.field));

    emit titlesChanged(fieldText(7), fieldText(8));

    bool usable = true;
    for (size_t k = 0; k < m_counts.size(); ++k) {
        const QString text = fieldText(kCountFields[k]);
        m_counts[k] = NumericText::leadingNumber(text);
        // A count must also convert to a whole number from 1 to 32767, as the roster load will
        // convert it: a negative, fractional-below-one or out-of-range count cannot be drawn.
        usable = usable && m_counts[k] != 0 && isUsableCount(text);
    }
    if (!usable) {
        showMessage(QStringLiteral("系统奖项、信息设置出错！重新设置"));
        return;
    }
    showMessage(QStringLiteral("系统奖项、信息设置成功并已保存！"));
    emit accepted();
    hide();
}

void PrizeSettingsForm::reset_Click()
{
    for (int number : kCountFields)
        field(number)->setText(QString());
}

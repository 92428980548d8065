#include "draw/main_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStringListModel>
#include <QTimer>
#include <cmath>

#include "draw/names_label.h"
#include "draw/presenter_keys.h"
#include "draw/random_pick.h"
#include "layout/proportional_layout.h"
#include "platform/auto_size_label.h"
#include "platform/design_resources.h"
#include "platform/interval_timer.h"
#include "platform/look.h"
#include "platform/media_player.h"
#include "platform/message_box.h"
#include "platform/picture_box.h"
#include "platform/pointer_hider.h"
#include "platform/program_directory.h"
#include "platform/text_outline.h"
#include "windows/author_credit.h"
#include "windows/instructions_form.h"
#include "windows/prize_settings_form.h"
#include "windows/start_lock_form.h"

using Look::Face;

namespace {

constexpr int kDesignWidthTwips = 14670;
constexpr int kDesignHeightTwips = 9720;

void setForeColor(QWidget *widget, quint32 bgr)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, Look::bgr(bgr));
    widget->setPalette(palette);
}

template <typename Label>
Label *stageLabel(Label *label, const QRect &box, const QFont &font, quint32 colour,
                  Qt::Alignment alignment)
{
    label->setFont(font);
    label->setAlignment(alignment);
    // Titles, prize names and roster names are shown as typed, never as markup.
    label->setTextFormat(Qt::PlainText);
    setForeColor(label, colour);
    label->setGraphicsEffect(new TextOutlineEffect(label));
    if constexpr (std::is_base_of_v<AutoSizeLabel, Label>)
        label->setBox(box);
    else
        label->setGeometry(box);
    return label;
}

QLabel *plainLabel(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QPushButton *consoleButton(const QString &name, const QString &caption, int top, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(Look::twipsRect(13455, top, 1095, 375));
    return button;
}

QListView *hiddenList(const QString &name, QStringListModel *model, const QRect &rect,
                      QWidget *parent)
{
    auto *list = new QListView(parent);
    list->setObjectName(name);
    list->setModel(model);
    list->setGeometry(rect);
    list->setVisible(false);
    return list;
}

} // namespace

MainForm::MainForm(QWidget *parent) : QWidget(parent)
{
    initDesignResources();
    setObjectName(QStringLiteral("抽奖主"));
    setWindowTitle(QStringLiteral("Lumora"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    resize(Look::twipsRect(0, 0, kDesignWidthTwips, kDesignHeightTwips).size());
    m_designBackground = QImage(QStringLiteral(":/design/stage.jpg"));
    buildControls();
    Form_Load();
    // The pointer leaves the projected stage alone; a presenter's remote drives the draw.
    m_pointer = new PointerHider(this, 3000);
    qApp->installEventFilter(new PresenterKeys(this, [this] { return presenterTarget(); }));
}

QPushButton *MainForm::presenterTarget() const
{
    // The 补抽 window is the operator's: no level starts behind it.
    if (m_redrawForm && m_redrawForm->isVisible())
        return nullptr;
    if (m_redraw.rolling)
        return Command6;
    if (Timer1->isEnabled() && nflag != 0)
        return levelButton(nflag);
    QPushButton *open = nullptr;
    for (int flag = 1; flag <= 3; ++flag) {
        if (!levelButton(flag)->isEnabled())
            continue;
        if (open)
            return nullptr; // more than one level to choose from: the operator chooses
        open = levelButton(flag);
    }
    return open;
}

MainForm::~MainForm()
{
    m_record.close();
    delete m_prizeSettings.data();
    delete m_instructions.data();
    delete m_redrawForm.data();
}

void MainForm::buildControls()
{
    const auto twips = Look::twipsRect;
    // Labels first: they lie beneath the buttons, lists and picture boxes.
    Label4 =
        stageLabel(new AutoSizeLabel(QStringLiteral("Label4"), this), twips(1065, 225, 12705, 960),
                   Look::font(Face::SongTi, 48, true), 0x0000FFFF, Qt::AlignHCenter | Qt::AlignTop);
    Label4->setCaption(QStringLiteral("Lumora"));
    Label9 = stageLabel(plainLabel(QStringLiteral("Label9"), QStringLiteral("大奖属于你"), this),
                        twips(90, 1395, 14370, 1005), Look::font(Face::SongTi, 42, true),
                        0x00000000, Qt::AlignHCenter | Qt::AlignTop);
    Label5 = stageLabel(plainLabel(QStringLiteral("Label5"), QString(), this),
                        twips(135, 2610, 14010, 1065), Look::font(Face::LiShu, 48, true),
                        0x00FF0000, Qt::AlignHCenter | Qt::AlignTop);
    Label1 = stageLabel(new NamesLabel(QStringLiteral("Label1"), this),
                        twips(6465, 3510, 555, 1035), Look::font(Face::SongTi, 51.75, true),
                        0x0000FF00, Qt::AlignHCenter | Qt::AlignTop);
    Label2 = stageLabel(new NamesLabel(QStringLiteral("Label2"), this),
                        twips(6570, 3600, 555, 1035), Look::font(Face::LiShu, 51.75, true),
                        0x0000FFFF, Qt::AlignHCenter | Qt::AlignTop);
    // The roll and its result page alike.
    Label1->setPartner(Label2);
    Label2->setPartner(Label1);
    Label6 =
        stageLabel(plainLabel(QStringLiteral("Label6"),
                              QStringLiteral("抽奖结果已经保存到目录下中奖名单中，请查询"), this),
                   twips(225, 8370, 13245, 600), Look::font(Face::SongTi, 24, true), 0x00FF00FF,
                   Qt::AlignHCenter | Qt::AlignTop);
    // Between the caption's box and Label6, so it never stands on other text.
    m_recordCode = stageLabel(plainLabel(QStringLiteral("recordCode"), QString(), this),
                              twips(225, 8040, 13245, 330), Look::font(Face::SongTi, 14, true),
                              0x00FF00FF, Qt::AlignHCenter | Qt::AlignTop);
    m_recordCode->setVisible(false);
    Label8 = stageLabel(plainLabel(QStringLiteral("Label8"), QString(), this),
                        twips(3690, 8550, 9480, 630), Look::font(Face::XinWei, 36, false),
                        0x0000FFFF, Qt::AlignLeft | Qt::AlignTop);
    Label8->setVisible(false);
    Label7 = stageLabel(plainLabel(QStringLiteral("Label7"), AuthorCredit::stageLine(), this),
                        twips(180, 9000, 13110, 600), Look::font(Face::SongTi, 21.75, true),
                        0x0000C000, Qt::AlignHCenter | Qt::AlignTop);
    Label3 =
        stageLabel(plainLabel(QStringLiteral("Label3"), QStringLiteral("当前被选序号"), this),
                   twips(12375, 225, 1455, 525), font(), 0x000000FF, Qt::AlignLeft | Qt::AlignTop);
    Label3->setAutoFillBackground(true);
    Label3->setVisible(false);

    Command5 = consoleButton(QStringLiteral("Command5"), QStringLiteral("奖项设置"), 3150, this);
    Command1 =
        consoleButton(QStringLiteral("Command1"), QStringLiteral("读取验证数据"), 3735, this);
    Command8 = consoleButton(QStringLiteral("Command8"), QStringLiteral("启动抽奖机"), 4275, this);
    Command2 = consoleButton(QStringLiteral("Command2"), QStringLiteral("三等奖"), 4875, this);
    Command3 = consoleButton(QStringLiteral("Command3"), QStringLiteral("二等奖"), 5580, this);
    Command4 = consoleButton(QStringLiteral("Command4"), QStringLiteral("一等奖"), 6345, this);
    Command6 = consoleButton(QStringLiteral("Command6"), QStringLiteral("补抽"), 7425, this);
    Command7 = consoleButton(QStringLiteral("Command7"), QStringLiteral("关闭"), 8505, this);
    Command9 = consoleButton(QStringLiteral("Command9"), QStringLiteral("重要说明"), 9090, this);
    QWidget *order[] = {Command1, Command2, Command3, Command4, Command6,
                        Command5, Command7, Command8, Command9};
    for (size_t k = 1; k < std::size(order); ++k)
        setTabOrder(order[k - 1], order[k]);
    connect(Command1, &QPushButton::clicked, this, &MainForm::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &MainForm::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &MainForm::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &MainForm::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &MainForm::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &MainForm::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &MainForm::Command7_Click);
    connect(Command8, &QPushButton::clicked, this, &MainForm::Command8_Click);
    connect(Command9, &QPushButton::clicked, this, &MainForm::Command9_Click);

    m_list1Items = new QStringListModel(this);
    m_list2Items = new QStringListModel(this);
    List1 = hiddenList(QStringLiteral("List1"), m_list1Items, twips(225, 180, 1410, 600), this);
    List2 = hiddenList(QStringLiteral("List2"), m_list2Items, twips(180, 855, 1500, 600), this);

    移动图1 = new PictureBox(QStringLiteral("移动图1"), this);
    移动图1->setGeometry(twips(4095, 2580, 6450, 5460));
    移动图2 = new PictureBox(QStringLiteral("移动图2"), this);
    移动图2->setGeometry(twips(-6120, 2430, 6450, 5460));
    移动图2->setFont(Look::font(Face::SongTi, 21.75, true));
    移动图3 = new PictureBox(QStringLiteral("移动图3"), this);
    移动图3->setGeometry(twips(-6120, 9405, 6720, 5595));
    移动图3->setPicture(QImage(QStringLiteral(":/design/caption.bmp")));

    Timer1 = new IntervalTimer(QStringLiteral("Timer1"), 60, false, this);
    Timer2 = new IntervalTimer(QStringLiteral("Timer2"), 300, true, this);
    Timer3 = new IntervalTimer(QStringLiteral("Timer3"), 250, true, this);
    timScrollText = new IntervalTimer(QStringLiteral("timScrollText"), 1, false, this);
    connect(Timer1, &IntervalTimer::Timer, this, &MainForm::Timer1_Timer);
    connect(Timer2, &IntervalTimer::Timer, this, &MainForm::Timer2_Timer);
    connect(Timer3, &IntervalTimer::Timer, this, &MainForm::Timer3_Timer);
    connect(timScrollText, &IntervalTimer::Timer, this, &MainForm::timScrollText_Timer);
    m_resultsReturn = new QTimer(this);
    m_resultsReturn->setSingleShot(true);
    connect(m_resultsReturn, &QTimer::timeout, this, &MainForm::showResultsCaption);
    m_captionFrames = new QTimer(this);
    m_captionFrames->setTimerType(Qt::PreciseTimer);
    connect(m_captionFrames, &QTimer::timeout, this, &MainForm::composeCaptionFrame);

    WindowsMediaPlayer1 = new MediaPlayer(100, this);
    WindowsMediaPlayer1->setObjectName(QStringLiteral("WindowsMediaPlayer1"));
    WindowsMediaPlayer2 = new MediaPlayer(50, this);
    WindowsMediaPlayer2->setObjectName(QStringLiteral("WindowsMediaPlayer2"));
    updateStageArea();
}

void MainForm::Form_Load()
{
    const QString directory = ProgramDirectory::path();
    WindowsMediaPlayer2->setUrl(directory + QStringLiteral("/Varneth - 默.mp3"));
    WindowsMediaPlayer2->setPlayCount(1000);
    WindowsMediaPlayer2->play();

    LoadFileLines(directory + QStringLiteral("/参与抽奖名单.vok"), mstrScrollText);
    InitScrollText();
    StartScrollText(5);

    ResizeInit(this);

    for (QPushButton *button : {Command1, Command2, Command3, Command4, Command6, Command8})
        button->setEnabled(false);
    for (QWidget *widget : {static_cast<QWidget *>(Label6), static_cast<QWidget *>(Label7),
                            static_cast<QWidget *>(List2)})
        widget->setVisible(false);
    nflag = 0;

    WindowsMediaPlayer1->setUrl(directory + QStringLiteral("/Ostrevel - 西班牙斗牛士.mp3"));
    WindowsMediaPlayer1->setPlayCount(1000);
    WindowsMediaPlayer1->stop();

    mstrPath = ProgramDirectory::withSeparator(directory);

    // Missing or not a picture: the stage shows its design background, nothing is reported.
    picTemp = QImage(mstrPath + QStringLiteral("./B3.jpg"));
}

void MainForm::showOnStage()
{
    if (QScreen *current = screen()) {
        setGeometry(current->geometry());
        // The default font grows with a large screen, as a desktop's display scaling would
        // make it, so the operator can read the buttons on a 4K projector.
        QFont consoleFont = Look::defaultFont();
        consoleFont.setPointSizeF(consoleFont.pointSizeF() *
                                  std::max(1.0, current->geometry().height() / 1080.0));
        for (QPushButton *button : {Command1, Command2, Command3, Command4, Command5, Command6,
                                    Command7, Command8, Command9})
            button->setFont(consoleFont);
    }
    showMaximized();
}

void MainForm::ResizeInit(QWidget *FormName)
{
    ProportionalLayout::ResizeInit(FormName, mlngDesignWidth, mlngDesignHeight);
}

void MainForm::ResizeForm(QWidget *FormName)
{
    ProportionalLayout::ResizeForm(FormName, mlngDesignWidth, mlngDesignHeight);
}

std::vector<qint32> MainForm::GetRndNotRepeat(qint32 NumMin, qint32 NumMax, qint32 n)
{
    return pickDistinct(NumMin, NumMax, n, RandomSource::shared(), i);
}

QStringList MainForm::DeleteArray(QStringList &X, const QString &s)
{
    return deleteFirstEqual(X, s);
}

void MainForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    ResizeForm(this);
    // The first pass begins at the bottom of the display as the screen shows it: the stage
    // covers the screen only after the pass was set up at the design size.
    const int captionHeight = int(std::lround(移动图1->scaleHeight()));
    if (m_firstPass && captionHeight != m_captionHeight) {
        mlngScrollPos += captionHeight - m_captionHeight;
        m_captionHeight = captionHeight;
    }
    updateStageArea();
    update();
}

void MainForm::updateStageArea()
{
    // Where a round's names may go: between the round heading and the results notice, left of
    // the button column.
    const double h = width() * Look::kTwipsPerPixel / kDesignWidthTwips;
    const double v = height() * Look::kTwipsPerPixel / kDesignHeightTwips;
    auto area = [&](int top) {
        return Look::twipsRect(int(135 * h), int(top * v), int((13320 - 135) * h),
                               int((8370 - top) * v));
    };
    // Names stay readable from the back of the hall: a round too large is shown page by page.
    Label1->setMinimumTextHeight(height() / 30.0);
    Label2->setMinimumTextHeight(height() / 30.0);
    // Outlines of 1.5 px at 1080 lines, in proportion on other stages.
    const int outline = std::clamp(int(std::lround(1.5 * height() / 1080.0)), 1, 4);
    for (TextOutlineEffect *effect : findChildren<TextOutlineEffect *>())
        effect->setWidth(outline);
    // The names stand under the titles, whatever their own design boxes say.
    const int titlesCentre = Label9->geometry().center().x();
    Label1->setCentreX(titlesCentre);
    Label2->setCentreX(titlesCentre);
    // The roll and its result share one area, so a round that rolls on one page stops on one.
    Label1->setStageArea(area(3600));
    Label2->setStageArea(area(3600));
}

void MainForm::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QImage &background = picTemp.isNull() ? m_designBackground : picTemp;
    painter.drawImage(rect(), background); // stretched over the whole window
}

void MainForm::Command5_Click()
{
    Label6->setVisible(false);
    m_recordCode->setVisible(false);
    prizeSettings()->showForward();
}

PrizeSettingsForm *MainForm::prizeSettings()
{
    if (!m_prizeSettings) {
        m_prizeSettings = new PrizeSettingsForm();
        connect(m_prizeSettings, &PrizeSettingsForm::titlesChanged, this,
                [this](const QString &company, const QString &activity) {
                    Label4->setCaption(company);
                    Label9->setText(activity);
                });
        connect(m_prizeSettings, &PrizeSettingsForm::accepted, this, &MainForm::onSettingsAccepted);
    }
    return m_prizeSettings;
}

void MainForm::onSettingsAccepted()
{
    Command1->setEnabled(true);
    Command5->setEnabled(false);
}

void MainForm::Command8_Click()
{
    if (!m_startLock) {
        m_startLock = new StartLockForm();
        connect(m_startLock, &StartLockForm::loaded, this, [this] { List2->setVisible(false); });
        connect(m_startLock, &StartLockForm::unlocked, this, &MainForm::onUnlocked);
        m_startLock->Form_Load();
    }
    m_startLock->showForward();
}

void MainForm::onUnlocked()
{
    if (m_continued) {
        // A level begun before the interruption is finished before another starts.
        for (int level = 1; level <= 3; ++level) {
            levelButton(level)->setEnabled(m_levelInProgress ? level == m_levelInProgress
                                                             : roundsLeft(level) > 0);
        }
        Command6->setEnabled(!m_redraw.winners.isEmpty());
    } else {
        Command2->setEnabled(true);
        Command3->setEnabled(true);
        Command4->setEnabled(true);
    }
    Command8->setEnabled(false);
    m_firstPass = false; // the start-up caption ends here
    移动图3->setVisible(false);
    移动图1->setVisible(false);
    移动图2->setVisible(false);
    timScrollText->setInterval(0);
    if (m_continued)
        showLastCountedRound();
}

void MainForm::Command9_Click()
{
    if (!m_instructions)
        m_instructions = new InstructionsForm();
    m_instructions->showForward();
}

void MainForm::Command7_Click()
{
    const auto answer =
        showMessage(QStringLiteral("确定要关闭抽奖系统吗？"), QStringLiteral("抽奖系统警告"),
                    MessageBoxService::Icon::None, MessageBoxService::Buttons::OkCancel);
    if (answer != MessageBoxService::Answer::Ok)
        return;
    m_record.close();
    for (QWidget *window : {static_cast<QWidget *>(m_prizeSettings.data()),
                            static_cast<QWidget *>(m_instructions.data())}) {
        if (window) {
            window->close();
            window->deleteLater();
        }
    }
    close();
}

void MainForm::closeEvent(QCloseEvent *event)
{
    m_record.close();
    m_closing = true;
    if (m_pauseLoop)
        m_pauseLoop->quit();
    // Hidden secondary windows would keep the program alive; the start lock stays open.
    for (QWidget *window : {static_cast<QWidget *>(m_prizeSettings.data()),
                            static_cast<QWidget *>(m_instructions.data())}) {
        if (window)
            window->close();
    }
    event->accept();
}

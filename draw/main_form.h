#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <array>
#include <vector>

#include "record/event_record.h"
#include "windows/instructions_form.h"
#include "windows/prize_settings_form.h"
#include "windows/redraw_form.h"
#include "windows/start_lock_form.h"

class AutoSizeLabel;
class IntervalTimer;
class MediaPlayer;
class NamesLabel;
class PictureBox;
class PointerHider;
class QEventLoop;
class QLabel;
class QListView;
class QPushButton;
class QStringListModel;
class QTimer;
struct PrizeLevel;

// "抽奖主": the stage and the operator's console. It owns the state of the whole run.
class MainForm : public QWidget
{
    Q_OBJECT
public:
    explicit MainForm(QWidget *parent = nullptr);
    ~MainForm() override; // closes the results file

    // Covers the screen, with or without a window manager.
    void showOnStage();

    // The state of the run.
    qint32 i = 0;                  // pick and winner loop counter
    QStringList ST;                // the roster pool: who is still in the draw
    qint32 iCount = 0;             // upper bound of ST; -1 when it is empty
    qint16 g1 = 0, g2 = 0, g3 = 0; // rounds still to draw: first, second, third prize
    qint16 c1 = 0, c2 = 0, c3 = 0; // rounds configured
    qint16 n1 = 0, n2 = 0, n3 = 0; // winners per round
    qint16 nflag = 0;              // level being drawn: 0 none, 3 third, 2 second, 1 first prize
    QString str2;                  // this run's results file
    QString mstrPath;              // the program directory, ending in exactly one separator
    QImage picTemp;                // the stretched background

    void ResizeInit(QWidget *FormName);
    void ResizeForm(QWidget *FormName);
    std::vector<qint32> GetRndNotRepeat(qint32 NumMin, qint32 NumMax, qint32 n);
    QStringList DeleteArray(QStringList &X, const QString &s);

    // The prize settings window, loaded (not shown) when it is not open yet.
    PrizeSettingsForm *prizeSettings();
    StartLockForm *startLock() const { return m_startLock; }
    InstructionsForm *instructions() const { return m_instructions; }

    const QStringList &scrollTextLines() const { return mstrScrollText; }
    qint32 scrollPosition() const { return mlngScrollPos; }
    // Draws the caption's newest position if it moved since the last frame; the screen's refresh
    // calls it.
    void composeCaptionFrame();
    bool captionFramePending() const { return m_captionFramePending; }
    const ResultsFile &resultsFile() const { return m_record.resultsFile(); }
    // How long the stage waits before the results scroll (5 s; tests shorten it).
    int resultsPauseMs = 5000;
    // A stop counts only this long after its roll started (0.5 s; tests that draw many rounds
    // set it to 0).
    int minimumRollMs = 500;

    PointerHider *pointerHider() const { return m_pointer; }

    // At the end of the start-up: offers to continue an unfinished event of the program directory.
    void offerUnfinishedEvent();

public slots:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void timScrollText_Timer();

protected:
    void closeEvent(QCloseEvent *event) override; // the window is being closed, by any means
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void buildControls();
    void Form_Load();
    void LoadFileLines(const QString &strPath, QStringList &strLines);
    void InitScrollText();
    void StartScrollText(qint16 nInterval);

    // The prize-level draw, one procedure for the three buttons.
    void levelClick(int flag);
    void startRoll(const PrizeLevel &level);
    void stopRoll(const PrizeLevel &level);
    void closeLevel(const PrizeLevel &level);
    void releaseOtherLevels(const PrizeLevel &level);
    void afterRecordWrite();
    // A stop whose record could not reach the disk: the message, and the level (or the redraw)
    // as it was before its roll.
    void abandonRoll();
    void reportWriteFailure();
    void showRecordCode();
    // Label6, Label7 and the record's code share their lines with Label8: a roll takes the
    // lines, and its stop gives them back when they were shown before it.
    void showResultsNotice(bool shown);
    // A roll after the end steps have begun has the stage to itself: the results caption stops
    // and hides, and comes back, read again from the file, the end's pause after the stop.
    void clearStageForLateRoll();
    void afterLateStop();
    void showResultsCaption();
    void reportWorkbookFailure(); // once per event
    QList<Journal::Winner> shownWinners() const;
    bool rollCanStop() const;
    bool continueEvent(const Record::UnfinishedEvent &event);
    qint32 rollCount() const;
    void appendLog(const QString &line);
    void takeShownFromPool(); // the names the last tick showed leave the pool

    // 补抽: redrawing the absent winners of the last stopped round.
    void startRedraw(const QList<int> &ticked);
    // Each absent winner's place in the round taken by their replacement.
    void replaceStanding(const QList<Journal::Winner> &absent,
                         const QList<Journal::Winner> &replacements);
    QString standingText() const;
    void stopRedraw();
    QPushButton *levelButton(int flag) const;
    // The button a presenter's key presses now: the rolling one, else the one level left open.
    QPushButton *presenterTarget() const;
    qint16 &roundsLeft(int flag);
    qint16 roundsConfigured(int flag) const;
    qint16 winnersPerRound(int flag) const;

    void onSettingsAccepted();
    void onUnlocked();
    // After continuing: the stage where the event stood, the end steps if the first prize is in.
    void showLastCountedRound();
    void updateStageArea();

    // Controls, named as on the stage.
    AutoSizeLabel *Label4 = nullptr;
    QLabel *Label9 = nullptr;
    QLabel *Label5 = nullptr;
    NamesLabel *Label1 = nullptr;
    NamesLabel *Label2 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *m_recordCode = nullptr; // the record's code beside Label6, for the hall's photographs
    QPushButton *Command1 = nullptr, *Command2 = nullptr, *Command3 = nullptr, *Command4 = nullptr,
                *Command5 = nullptr, *Command6 = nullptr, *Command7 = nullptr, *Command8 = nullptr,
                *Command9 = nullptr;
    QListView *List1 = nullptr;
    QListView *List2 = nullptr;
    QStringListModel *m_list1Items = nullptr;
    QStringListModel *m_list2Items = nullptr;
    PictureBox *移动图1 = nullptr; // the caption's display
    PictureBox *移动图2 = nullptr; // its work buffer
    PictureBox *移动图3 = nullptr; // its background
    IntervalTimer *Timer1 = nullptr;
    IntervalTimer *Timer2 = nullptr;
    IntervalTimer *Timer3 = nullptr;
    IntervalTimer *timScrollText = nullptr;
    MediaPlayer *WindowsMediaPlayer1 = nullptr; // the drawing tune
    MediaPlayer *WindowsMediaPlayer2 = nullptr; // the waiting tune

    QStringList mstrScrollText;
    qint32 mlngScrollPos = 0;
    QTimer *m_captionFrames = nullptr; // one tick per screen refresh while the caption moves
    qint32 m_captionFramePosition = 0;
    bool m_captionFramePending = false;
    qint32 mlngDesignWidth = 0;
    qint32 mlngDesignHeight = 0;

    QImage m_designBackground;
    Record::EventRecord m_record;
    std::vector<qint32> m_poolOrigin; // each pool entry's position in the pool as loaded
    int m_levelInProgress = 0;        // a continued event's level begun and not finished
    bool m_continued = false;         // this run continues an interrupted event
    bool m_lastStopWasRedraw = false; // of the continued event, before the interruption
    std::vector<qint32> m_lastPicks;  // the pool indices the last tick showed
    bool m_rollTicked = false;        // the running roll has shown names
    QElapsedTimer m_rollClock;        // since the running roll started
    struct LevelsBeforeRoll
    {
        std::array<bool, 3> enabled{};
        qint16 nflag = 0;
    } m_beforeRoll;                  // what a stop that cannot be recorded returns to
    bool m_noticeBeforeRoll = false; // Label6 was shown when the running roll started
    struct Redraw
    {
        int level = 0;
        int round = 0;
        QList<Journal::Winner> winners; // who can be redrawn: the last stop's names
        QList<Journal::Winner> absent;  // ticked, while their replacements roll
        // The round's winners as they now stand, in stage order: true for a replacement.
        QList<std::pair<Journal::Winner, bool>> standing;
        bool rolling = false;
        std::array<bool, 3> levelsEnabled{}; // the level buttons before the redraw
    } m_redraw;
    QPointer<RedrawForm> m_redrawForm;
    QEventLoop *m_pauseLoop = nullptr;
    QTimer *m_resultsReturn = nullptr; // the pause after a late stop
    bool m_lateRoll = false;           // the caption waits for a late stop's pause
    PointerHider *m_pointer = nullptr;
    int m_captionHeight = 0; // the display's height when the pass began
    bool m_firstPass = true; // the start-up caption's first pass
    bool m_closing = false;

    QPointer<PrizeSettingsForm> m_prizeSettings;
    QPointer<StartLockForm> m_startLock;
    QPointer<InstructionsForm> m_instructions;
};

#pragma once

#include <QObject>
#include <QString>

class QMediaPlayer;
class QAudioOutput;

// A tune player with the behaviour the stage relies on: setting the file starts it; a missing
// file, an unplayable one or a machine without sound is silent and never an error.
class MediaPlayer : public QObject
{
    Q_OBJECT
public:
    enum class State { Stopped, Playing, Paused };

    explicit MediaPlayer(int volumePercent, QObject *parent = nullptr);
    ~MediaPlayer() override;

    void setUrl(const QString &path);
    QString url() const { return m_url; }
    void setPlayCount(int count);
    int playCount() const { return m_playCount; }

    void play();
    void pause();
    void stop();
    State state() const { return m_state; }

private:
    void ensureBackend();

    QString m_url;
    int m_playCount = 1;
    int m_volumePercent;
    State m_state = State::Stopped;
    QMediaPlayer *m_player = nullptr;
    QAudioOutput *m_output = nullptr;
};

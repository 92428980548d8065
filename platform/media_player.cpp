#include "platform/media_player.h"

#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>

MediaPlayer::MediaPlayer(int volumePercent, QObject *parent)
    : QObject(parent), m_volumePercent(volumePercent)
{
}

MediaPlayer::~MediaPlayer() = default;

void MediaPlayer::ensureBackend()
{
    // The multimedia backend is created only for a file that exists, so a program directory
    // without tunes never touches the sound system.
    if (m_player || !QFileInfo(m_url).isFile())
        return;
    m_player = new QMediaPlayer(this);
    m_output = new QAudioOutput(this);
    m_output->setVolume(m_volumePercent / 100.0f);
    m_player->setAudioOutput(m_output);
    m_player->setLoops(m_playCount);
    m_player->setSource(QUrl::fromLocalFile(m_url));
}

void MediaPlayer::setUrl(const QString &path)
{
    m_url = path;
    if (m_player) {
        m_player->setSource(QUrl::fromLocalFile(path));
    }
    ensureBackend();
    play();
}

void MediaPlayer::setPlayCount(int count)
{
    m_playCount = count;
    if (m_player)
        m_player->setLoops(count);
}

void MediaPlayer::play()
{
    m_state = State::Playing;
    ensureBackend();
    if (m_player)
        m_player->play();
}

void MediaPlayer::pause()
{
    m_state = State::Paused;
    if (m_player)
        m_player->pause();
}

void MediaPlayer::stop()
{
    m_state = State::Stopped;
    if (m_player)
        m_player->stop();
}

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A fresh program directory for one test: the program reads and writes its files here.
class ProgramDir
{
public:
    ProgramDir();
    ~ProgramDir();

    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }

    // Lines joined with CR LF (and a final CR LF), in GB18030.
    static QByteArray gb18030Lines(const QStringList &lines);
    void write(const QString &name, const QByteArray &bytes) const;
    QByteArray read(const QString &name) const;

    // A settings file with the titles, three levels (rounds, winners, prize) and the password.
    void writeSettings(int rounds1, int winners1, int rounds2, int winners2, int rounds3,
                       int winners3, const QString &password = QStringLiteral("52718364")) const;
    // A roster file of the given lines, GB18030 with CR LF.
    QString writeRoster(const QString &name, const QStringList &lines) const;
    // Numbered invented people: "P0001 名字1" …
    static QStringList people(int count);

    // The results files written so far, by name.
    QStringList resultsFiles() const;

private:
    QTemporaryDir m_dir;
};

#pragma once

#include <QString>

// Makes Lumora's own assets: festive pictures, two synthesised tunes (as WAV, encoded to MP3 by
// the calling script), the default settings file and a sample roster of invented people.
void makePictures(const QString &designDir, const QString &installDir);
void makeTunes(const QString &workDir);
void makeTexts(const QString &installDir);

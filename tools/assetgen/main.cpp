#include <QGuiApplication>
#include <cstdio>

#include "assetgen.h"

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: assetgen DESIGN_DIR INSTALL_DIR WORK_DIR\n");
        return 2;
    }
    makePictures(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    makeTunes(QString::fromLocal8Bit(argv[3]));
    makeTexts(QString::fromLocal8Bit(argv[2]));
    return 0;
}

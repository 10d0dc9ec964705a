// MakeIcons OUTDIR SIZE...: the programs' desktop menu icons as OUTDIR/hicolor/<size>x<size>/apps/
// kemgps.png and kemzip.png, the layout of the freedesktop icon theme.
#include <QDir>
#include <QImage>
#include <cstdio>
#include <cstdlib>

#include "base/ui/ProgramIcons.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: MakeIcons OUTDIR SIZE...\n");
        return 2;
    }
    for (int k = 2; k < argc; ++k) {
        const int size = std::atoi(argv[k]);
        const QString dir = QStringLiteral("%1/hicolor/%2x%2/apps").arg(argv[1]).arg(size);
        if (size <= 0 || !QDir().mkpath(dir) ||
            !kem::look::programIcon(size).save(dir + QStringLiteral("/kemgps.png")) ||
            !kem::look::packerIcon(size).save(dir + QStringLiteral("/kemzip.png"))) {
            std::fprintf(stderr, "MakeIcons: cannot write the %s pixel icons to %s\n", argv[k],
                         qPrintable(dir));
            return 1;
        }
    }
    return 0;
}

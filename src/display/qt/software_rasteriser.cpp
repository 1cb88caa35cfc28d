#include "display/qt/software_rasteriser.h"

#include <thread>

#include <QByteArray>
#include <QtGlobal>

void SpreadSoftwareRasteriser() {
    const unsigned cores = std::thread::hardware_concurrency();
    if (cores < 2 || cores > 3 || qEnvironmentVariableIsSet("LP_NUM_THREADS")) return;
    qputenv("LP_NUM_THREADS", QByteArray("4"));
}

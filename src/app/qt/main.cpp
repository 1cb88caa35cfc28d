// noltace: the Jupiter Ace emulator as a Qt desktop application.
#include "app/qt/application.h"

int main(int argc, char** argv) {
    return RunNoltace(argc, argv);
}

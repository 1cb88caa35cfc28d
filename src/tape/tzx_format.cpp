#include "tape/tzx_format.h"

bool LoadTzxFromBuffer(const std::string&) {
    return false;
}

#include "tape/file_kinds.h"

FileKind currentFileKind = FileKind::None;

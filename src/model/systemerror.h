#pragma once

#include "model/result.h"

#include <QByteArray>

// The Error for a failed system call on a file: "<path>: <what>: <the system's words>", NotFound
// for ENOENT, Unwritable otherwise.
Error systemError(int error, const QByteArray &path, const char *what);

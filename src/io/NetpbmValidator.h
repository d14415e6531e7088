#pragma once

#include "PictureType.h"

#include <QByteArray>
#include <QIODevice>

#include <functional>
#include <string>

namespace ivra {

// What a netpbm header announces.
struct NetpbmHeader {
    PictureType type = PictureType::Unknown; // Pbm, Pgm or Ppm
    bool plain = false;                      // P1-P3: samples written as decimal text
    int width = 0;
    int height = 0;
    int maxval = 1; // 1 for bitmaps
};

// Checks a whole PBM, PGM or PPM file strictly, reading the device in bounded
// chunks (nothing the size of the picture is allocated): the magic P1-P6; header
// fields separated by whitespace and "#" comments only; sides of 1..Image::maxSide;
// a maxval of 1..65535; P1 data of the digits 0 and 1 with optional whitespace
// between them; P2/P3 decimal samples separated by whitespace; binary data (after
// exactly one whitespace character) of exactly the announced length; every sample
// at most the maxval; nothing but whitespace after the plain data. `checkHeader`
// runs once the header is read, before the data, and may throw to refuse early.
// For P1 data, `bitmap` (if given) receives the pixels packed as P4 rows would hold
// them (the toolkit's reader takes P1 bits only when separated by whitespace).
// Throws IoError(name, problem).
NetpbmHeader validateNetpbm(QIODevice& device, const std::string& name,
                            const std::function<void(const NetpbmHeader&)>& checkHeader = {},
                            QByteArray* bitmap = nullptr);

} // namespace ivra

#ifndef TUNEWRIGHT_APP_FLAG_IMAGES_H_
#define TUNEWRIGHT_APP_FLAG_IMAGES_H_

#include <QPixmap>

#include "app/core/country_flags.h"

namespace tw {

// A 40 x 40 picture of the flag, drawn by the program (the flag centred on a transparent
// square, in its own proportions); a null pixmap for kNone.
QPixmap FlagImage(CountryFlag flag);

}  // namespace tw

#endif  // TUNEWRIGHT_APP_FLAG_IMAGES_H_

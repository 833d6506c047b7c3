#ifndef TUNEWRIGHT_APP_INTERFACE_FONT_H_
#define TUNEWRIGHT_APP_INTERFACE_FONT_H_

#include <QString>

namespace tw {

// Registers the interface font's regular and bold faces for this process and returns the
// family name Qt reports for them ("Bebas Neue"); empty when the regular face is unusable.
// Registering the bold face keeps Qt from faking bold captions.
QString RegisterInterfaceFont(const QString& regular_path, const QString& bold_path);

}  // namespace tw

#endif  // TUNEWRIGHT_APP_INTERFACE_FONT_H_

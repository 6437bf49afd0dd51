// Pictures of the express-key and pen windows for `--screenshots`: the key-function and
// multi-function dialogs on copies of the first key's record, and the pen page's pressure
// test with a stroke drawn at rising pressure.
#pragma once

#include <QString>

class ViewController;
class QWidget;

void nv_key_screenshots(QWidget& window, ViewController& view, const QString& dir, const char* state);

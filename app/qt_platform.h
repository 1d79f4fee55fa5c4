#pragma once

#include "platform.h"

class QWidget;

namespace talmo {

// The message box of the practice pages: modal to the application, one OK
// button, the program's title.
class QtMessageBox final : public MessageBox {
  public:
    void Show(const std::string& text, Icon icon) override;
};

}  // namespace talmo

#include "platform/vcl/StdCtrls.h"

void RegisterStdCtrls() {
    RegisterClasses({&TLabel::StaticClass(), &TEdit::StaticClass(), &TMemo::StaticClass(), &TButton::StaticClass(),
                     &TCheckBox::StaticClass(), &TRadioButton::StaticClass(), &TGroupBox::StaticClass(),
                     &TComboBox::StaticClass(), &TListBox::StaticClass(), &TScrollBar::StaticClass()});
}

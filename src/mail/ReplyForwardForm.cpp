#include "mail/ReplyForwardForm.h"

#include "controls/unicode/TntRegisterClasses.h"
#include "platform/vcl/ExtCtrls.h"

// The window's TTimer as the wait logic's timer; the component comes from the form file.
class TForm3::Timer : public WaitTimer {
public:
    explicit Timer(TForm3& form) : form_(form) {}
    void SetEnabled(bool enabled) override {
        if (auto* timer = dynamic_cast<TTimer*>(form_.FindComponent("Timer1"))) timer->SetEnabled(enabled);
    }

private:
    TForm3& form_;
};

const TMetaClass& TForm3::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TForm3>("TForm3", &IChangeableLangForm::StaticClass(), [](TClassBuilder<TForm3>& b) {
        b.Method("FormShow", &TForm3::FormShow);
        b.Method("Timer1Timer", &TForm3::Timer1Timer);
        b.Method("TntButton1Click", &TForm3::TntButton1Click);
    });
    return meta;
}

TForm3* Form3 = nullptr;

TForm3::TForm3(TComponent* owner)
    : IChangeableLangForm(owner),
      timer_(std::make_unique<Timer>(*this)),
      wait_(std::make_unique<ReplyForwardWait>(
          *timer_, [this](bool forward) { if (Command) Command(forward); }, [this] { Close(); })) {}

TForm3::~TForm3() = default;

void TForm3::FormShow(TObject*) { wait_->FormShow(); }
void TForm3::Timer1Timer(TObject*) { wait_->Timer1Timer(); }
void TForm3::TntButton1Click(TObject*) { wait_->TntButton1Click(); }

void RegisterReplyForwardForm() {
    RegisterTntClasses();
    RegisterClasses({&TTimer::StaticClass(), &TForm3::StaticClass()});
}

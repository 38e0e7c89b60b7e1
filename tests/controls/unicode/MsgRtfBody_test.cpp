// The .msg side of the rich edit's picture test (see MsgRtfBody.h); it holds no tests itself.
#include "tests/controls/unicode/MsgRtfBody.h"

#include "message/MessageMSG.h"

struct MsgRtfBody::Impl {
    MessageMSG message;
};

MsgRtfBody::MsgRtfBody(std::string rtf) : impl_(std::make_unique<Impl>()), rtf_(std::move(rtf)) {
    pictures_ = impl_->message.ExtractRtfObjects(rtf_);
}

MsgRtfBody::~MsgRtfBody() = default;

void MsgRtfBody::Place(richtext::RichTextDocument& document) { impl_->message.ReplaceRichEditPlaceholders(document); }

#include "search/SearchCriteria.h"

void SCText::SetAlgorithm(std::unique_ptr<ISearchAlgorithm> newAlgorithm) {
    if (newAlgorithm.get() == algorithm.get()) {
        (void)newAlgorithm.release();  // the same object: it stays where it is
        return;
    }
    algorithm = std::move(newAlgorithm);
}

bool SCText::Match(TMessageAttr* message) {
    if (!message || !algorithm) return false;
    return algorithm->Match(Field(*message), value);
}

const WideString& SCBody::Field(const TMessageAttr& m) const {
    if (!m.plainBody.empty()) return m.plainBody;
    return m.htmlBody;
}

bool SCHeader::Match(TMessageAttr* message) {
    if (!message || !algorithm) return false;
    if (message->headerText.empty()) message->EnsureFullyLoaded();
    return algorithm->Match(message->headerText, value);
}

bool SCBody::Match(TMessageAttr* message) {
    if (value.empty() || !message || !algorithm) return false;
    if (message->plainBody.empty() && message->htmlBody.empty()) message->EnsureFullyLoaded();
    if (!message->plainBody.empty()) return algorithm->Match(message->plainBody, value);
    // The reader puts a block that silences script errors in front of HTML bodies; it is not
    // the message's text and must not be found.
    static const WideString block = PrependScriptErrorHandler(WideString());
    const WideString& html = message->htmlBody;
    if (!block.empty() && html.compare(0, block.size(), block) == 0) return algorithm->Match(html.substr(block.size()), value);
    return algorithm->Match(html, value);
}

bool SCDateTime::Match(TMessageAttr* message) {
    if (!message) return false;
    const double d = message->date;
    if (fromDate != 0 && d < fromDate) return false;
    if (toDate != 0 && d > toDate) return false;
    return true;
}

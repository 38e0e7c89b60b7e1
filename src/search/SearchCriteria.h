// One test of a message record on one field: the sender, recipients, CC, subject, header text,
// body, or the date range.
#pragma once

#include <memory>

#include "message/MessageAttr.h"
#include "search/SearchAlgorithm.h"

class ISearchCriteria {
public:
    virtual bool Match(TMessageAttr* message) = 0;
    virtual ~ISearchCriteria() = default;
};

// A criterion on one text field of the message, compared by its own algorithm.
class SCText : public ISearchCriteria {
public:
    void SetValue(const WideString& text) { value = text; }
    // Takes the algorithm; the one held before goes (unless it is the same object).
    void SetAlgorithm(std::unique_ptr<ISearchAlgorithm> newAlgorithm);
    bool Match(TMessageAttr* message) override;

    WideString value;
    std::unique_ptr<ISearchAlgorithm> algorithm;

protected:
    virtual const WideString& Field(const TMessageAttr& message) const = 0;
};

class SCFrom : public SCText {
protected:
    const WideString& Field(const TMessageAttr& m) const override { return m.from; }
};
class SCTo : public SCText {
protected:
    const WideString& Field(const TMessageAttr& m) const override { return m.to; }
};
class SCCC : public SCText {
protected:
    const WideString& Field(const TMessageAttr& m) const override { return m.cc; }
};
class SCSubject : public SCText {
protected:
    const WideString& Field(const TMessageAttr& m) const override { return m.subject; }
};
// The header text; a listed record that holds its headers' fields only is loaded for it.
class SCHeader : public SCText {
public:
    bool Match(TMessageAttr* message) override;

protected:
    const WideString& Field(const TMessageAttr& m) const override { return m.headerText; }
};

// The plain body, else the HTML body (without the block the reader puts in front of it); an
// empty value finds nothing. A listed record without a body is loaded for it.
class SCBody : public SCText {
public:
    bool Match(TMessageAttr* message) override;

protected:
    const WideString& Field(const TMessageAttr& m) const override;
};

// The message date within [fromDate, toDate], both inclusive; 0 leaves a bound open. Both
// bounds are in the record's own time (UTC).
class SCDateTime : public ISearchCriteria {
public:
    void SetRange(double from, double to) {
        fromDate = from;
        toDate = to;
    }
    bool Match(TMessageAttr* message) override;

    double fromDate = 0;
    double toDate = 0;
};

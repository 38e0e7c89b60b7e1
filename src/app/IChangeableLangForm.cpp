#include "app/IChangeableLangForm.h"

const TMetaClass& IChangeableLangForm::StaticClass() {
    static const TMetaClass& meta = DescribeClass<IChangeableLangForm>("IChangeableLangForm", &TTntForm::StaticClass());
    return meta;
}

#include "controls/styled/RzRegIniFile.h"

const TMetaClass& TRzRegIniFile::StaticClass() {
    static const TMetaClass& meta =
        DescribeClass<TRzRegIniFile>("TRzRegIniFile", &TComponent::StaticClass(), [](TClassBuilder<TRzRegIniFile>& b) {
            b.Property("Path", &TRzRegIniFile::Path, &TRzRegIniFile::SetPath);
            b.Property("PathType", &TRzRegIniFile::PathType, &TRzRegIniFile::SetPathType).Default(ptIniFile);
            b.Property("RegKey", &TRzRegIniFile::RegKey, &TRzRegIniFile::SetRegKey).Default(hkeyCurrentUser);
            b.Property("RegAccess", &TRzRegIniFile::RegAccess, &TRzRegIniFile::SetRegAccess).Default(TRzRegAccess{keyAllAccess});
            b.Property("SpecialFolder", &TRzRegIniFile::SpecialFolder, &TRzRegIniFile::SetSpecialFolder).Default(sfNone);
        });
    return meta;
}

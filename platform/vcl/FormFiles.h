// Text form files: the tree of objects and property values that a form file holds, its parser
// and printer, and the table of form files compiled into the program, found by name.
//
//   object Form1: TForm1            (or "inherited Name: TClass", "inline Name: TClass")
//     Left = 10                      integers, $hex, floats
//     Caption = 'Text'#13#10'more'   strings: quoted (UTF-8 inside quotes) and #code units
//     Align = alClient               identifiers, True/False, nil, component and method names
//     Anchors = [akLeft, akTop]      sets
//     Lines.Strings = ('a' 'b')      lists
//     Panels = <item Width = 5 end>  collections
//     Data = {0A0B0C}                binary
//     object Child: TPanel ... end
//   end
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/vcl/SysUtils.h"

QUILLORA_EXCEPTION_CLASS(EParserError, Exception);
QUILLORA_EXCEPTION_CLASS(EResNotFound, Exception);

// The kinds of values, as a form-file reader reports them (TReader::NextValue).
enum TValueType {
    vaNull, vaList, vaInt8, vaInt16, vaInt32, vaExtended, vaString, vaIdent, vaFalse, vaTrue,
    vaBinary, vaSet, vaLString, vaNil, vaCollection, vaSingle, vaCurrency, vaDate, vaWString,
    vaInt64, vaUTF8String
};

struct TFormProperty;

struct TFormValue {
    TValueType Type = vaNull;
    std::int64_t Integer = 0;              // vaInt8 .. vaInt64
    double Float = 0;                      // vaExtended, vaSingle, vaCurrency, vaDate
    WideString Text;                       // vaString, vaLString, vaWString, vaUTF8String
    std::string Ident;                     // vaIdent
    std::vector<std::string> Set;          // vaSet
    std::vector<TFormValue> List;          // vaList
    std::vector<std::vector<TFormProperty>> Items;  // vaCollection
    std::string Binary;                    // vaBinary

    static TFormValue OfInteger(std::int64_t v);
    static TFormValue OfFloat(double v);
    // vaString for short text of code units up to 255, vaLString for longer, vaWString when a
    // unit is above 255.
    static TFormValue OfText(WideString text);
    static TFormValue OfIdent(std::string ident);
    static TFormValue OfBoolean(bool v);
    static TFormValue OfBinary(std::string bytes);
    bool IsInteger() const { return Type == vaInt8 || Type == vaInt16 || Type == vaInt32 || Type == vaInt64; }
    bool IsText() const { return Type == vaString || Type == vaLString || Type == vaWString || Type == vaUTF8String; }
    bool IsFloat() const { return Type == vaExtended || Type == vaSingle || Type == vaCurrency || Type == vaDate; }
};

struct TFormProperty {
    std::string Name;  // may be dotted: "Font.Name", "Lines.Strings"
    TFormValue Value;
};

enum class TFormObjectKind { Object, Inherited, Inline };

struct TFormObject {
    TFormObjectKind Kind = TFormObjectKind::Object;
    std::string Name;
    std::string ClassName;
    int Position = -1;  // "[n]": the child's place among an ancestor's children
    std::vector<TFormProperty> Properties;
    std::vector<TFormObject> Children;
};

// Parses one object of a text form file; a fault raises EParserError "Line n: <reason>".
TFormObject ParseFormText(std::string_view text);
// The text form of an object, two blanks of indent a level, lines ended by LF.
std::string FormTextOf(const TFormObject& object);

// Form files compiled into the program, by resource name (the form's class name in capitals,
// compared without case). Registering a name again replaces its text.
void RegisterFormResource(std::string_view name, std::string_view text);
// The text of a form resource, or null.
const std::string* FindFormResource(std::string_view name);
// As FindFormResource, but raises EResNotFound "Resource <name> not found".
const std::string& FormResource(std::string_view name);

// Files in their clipboard formats: the drop-files list (CF_HDROP), the single names
// "FileName" and "FileNameW", the name maps, and the data formats of file lists and name maps.
// Names are UTF-8 (the platform's ANSI code page), so no character is lost on the way.
#pragma once

#include <span>

#include "controls/dragdrop/DataFormat.h"
#include "controls/dragdrop/TextFormats.h"

// The names of a list as UTF-16.
std::vector<WideString> WideNames(const TStrings& names);

// A list of names rendered as one block (the names are UTF-8).
class TCustomNameListClipboardFormat : public TCustomSimpleClipboardFormat {
    DRAGDROP_FORMAT_CLASS(TClipboardFormatClass)
public:
    void Clear() override { names_.Clear(); }
    bool HasData() override { return names_.Count() > 0; }

protected:
    bool ReadData(const std::uint8_t* data, std::size_t size) override;
    bool WriteData(std::uint8_t* data, std::size_t size) override;
    std::size_t GetSize() override { return Block().size(); }
    virtual std::vector<std::uint8_t> Block() const = 0;
    virtual std::vector<WideString> ReadNames(std::span<const std::uint8_t> block) const = 0;

    TStringList names_;
};

// The drop-files list, always written with wide names.
class TFileClipboardFormat : public TCustomNameListClipboardFormat {
    DRAGDROP_FORMAT_CLASS(TClipboardFormatClass)
public:
    TFileClipboardFormat();
    CLIPFORMAT GetClipboardFormat() override;
    TStringList& Files() { return names_; }

protected:
    std::vector<std::uint8_t> Block() const override;
    std::vector<WideString> ReadNames(std::span<const std::uint8_t> block) const override;
};

// "FileName": one name as 8-bit text.
class TAnsiFilenameClipboardFormat : public TCustomAnsiTextClipboardFormat {
    DRAGDROP_FORMAT_CLASS(TClipboardFormatClass)
public:
    CLIPFORMAT GetClipboardFormat() override;
};

// "FileNameW": one name as UTF-16 text.
class TUnicodeFilenameClipboardFormat : public TCustomUnicodeTextClipboardFormat {
    DRAGDROP_FORMAT_CLASS(TClipboardFormatClass)
public:
    CLIPFORMAT GetClipboardFormat() override;
};

// New names for the files: each name and its terminator, then one more terminator.
class TFilenameMapClipboardFormat : public TCustomNameListClipboardFormat {
    DRAGDROP_FORMAT_CLASS(TClipboardFormatClass)
public:
    explicit TFilenameMapClipboardFormat(bool wide = false) : wide_(wide) {}
    TStringList& FileMaps() { return names_; }

protected:
    std::vector<std::uint8_t> Block() const override;
    std::vector<WideString> ReadNames(std::span<const std::uint8_t> block) const override;

private:
    bool wide_;
};

// "FileNameMap", 8-bit.
class TAnsiFilenameMapClipboardFormat : public TFilenameMapClipboardFormat {
    DRAGDROP_FORMAT_CLASS(TClipboardFormatClass)
public:
    TAnsiFilenameMapClipboardFormat() : TFilenameMapClipboardFormat(false) {}
    CLIPFORMAT GetClipboardFormat() override;
};

// "FileNameMapW", UTF-16.
class TUnicodeFilenameMapClipboardFormat : public TFilenameMapClipboardFormat {
    DRAGDROP_FORMAT_CLASS(TClipboardFormatClass)
public:
    TUnicodeFilenameMapClipboardFormat() : TFilenameMapClipboardFormat(true) {}
    CLIPFORMAT GetClipboardFormat() override;
};

class TFileDataFormat : public TCustomDataFormat {
    DRAGDROP_FORMAT_CLASS(TDataFormatClass)
public:
    explicit TFileDataFormat(TDragDropComponent* owner);
    TStringList& Files() { return files_; }
    bool Assign(TClipboardFormat& source) override;
    bool AssignTo(TClipboardFormat& dest) override;
    void Clear() override { files_.Clear(); }
    bool HasData() override { return files_.Count() > 0; }

private:
    TStringList files_;
};

class TFileMapDataFormat : public TCustomDataFormat {
    DRAGDROP_FORMAT_CLASS(TDataFormatClass)
public:
    explicit TFileMapDataFormat(TDragDropComponent* owner);
    TStringList& FileMaps() { return maps_; }
    bool Assign(TClipboardFormat& source) override;
    bool AssignTo(TClipboardFormat& dest) override;
    void Clear() override { maps_.Clear(); }
    bool HasData() override { return maps_.Count() > 0; }

private:
    TStringList maps_;
};

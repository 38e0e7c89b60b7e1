// Files in their clipboard formats: the drop-files list (CF_HDROP), the single names
// "FileName" and "FileNameW", the name maps, and the data formats of file lists and name maps.
// Names are UTF-8 (the platform's ANSI code page), so no character is lost on the way.
#pragma once

#include "controls/dragdrop/DataFormat.h"
#include "controls/dragdrop/TextFormats.h"

// The drop-files list, always written with wide names.
class TFileClipboardFormat : public TCustomSimpleClipboardFormat {
    DRAGDROP_FORMAT_CLASS(TClipboardFormatClass)
public:
    TFileClipboardFormat();
    CLIPFORMAT GetClipboardFormat() override;
    TStringList& Files() { return files_; }
    void Clear() override { files_.Clear(); }
    bool HasData() override { return files_.Count() > 0; }

protected:
    bool ReadData(const std::uint8_t* data, std::size_t size) override;
    bool WriteData(std::uint8_t* data, std::size_t size) override;
    std::size_t GetSize() override;

private:
    std::vector<std::uint8_t> Block() const;
    TStringList files_;
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
class TFilenameMapClipboardFormat : public TCustomSimpleClipboardFormat {
    DRAGDROP_FORMAT_CLASS(TClipboardFormatClass)
public:
    explicit TFilenameMapClipboardFormat(bool wide = false) : wide_(wide) {}
    TStringList& FileMaps() { return maps_; }
    void Clear() override { maps_.Clear(); }
    bool HasData() override { return maps_.Count() > 0; }

protected:
    bool ReadData(const std::uint8_t* data, std::size_t size) override;
    bool WriteData(std::uint8_t* data, std::size_t size) override;
    std::size_t GetSize() override;

private:
    std::vector<std::uint8_t> Block() const;
    bool wide_;
    TStringList maps_;
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

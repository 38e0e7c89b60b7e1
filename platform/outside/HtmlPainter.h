// The layout engine's drawing side over the class library's drawing functions: fonts, text,
// backgrounds, borders, list markers and pictures go to a device context (a metafile being
// recorded, in practice). Pictures come only from the message itself (content ids), data URIs
// or local files below the page's folder; nothing is fetched from the network. Every call
// checks the layout's time budget, so a hostile page stops instead of hanging.
#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <litehtml/litehtml.h>

#include "platform/outside/HtmlSource.h"
#include "platform/vcl/GdiTypes.h"

class TGraphic;

// Thrown through the layout engine when the time budget is spent.
class HtmlLayoutBudgetExceeded : public std::runtime_error {
public:
    HtmlLayoutBudgetExceeded() : std::runtime_error("the page took too long to lay out") {}
};

class HtmlPainter : public litehtml::document_container {
public:
    // dc measures text (and is drawn on unless Draw is given another); width is the layout width.
    HtmlPainter(HDC dc, const THtmlSource& source, int width, std::chrono::steady_clock::time_point deadline);
    ~HtmlPainter();
    HtmlPainter(const HtmlPainter&) = delete;
    HtmlPainter& operator=(const HtmlPainter&) = delete;

    // The width the page is laid out at, when it changes between layouts.
    void SetWidth(int width) { width_ = width; }
    // The laid-out document's size: backgrounds (the page's own, above all) end there.
    void SetDocumentSize(int width, int height) {
        docWidth_ = width;
        docHeight_ = height;
    }
    // Remote pictures that were asked for and refused.
    const std::vector<std::string>& RefusedPictures() const { return refused_; }

    litehtml::uint_ptr create_font(const litehtml::tchar_t* faceName, int size, int weight, litehtml::font_style italic,
                                   unsigned int decoration, litehtml::font_metrics* fm) override;
    void delete_font(litehtml::uint_ptr font) override;
    int text_width(const litehtml::tchar_t* text, litehtml::uint_ptr font) override;
    void draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr font, litehtml::web_color color,
                   const litehtml::position& pos) override;
    int pt_to_px(int pt) const override;
    int get_default_font_size() const override;
    const litehtml::tchar_t* get_default_font_name() const override;
    void draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) override;
    void load_image(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl, bool redraw_on_ready) override;
    void get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl, litehtml::size& sz) override;
    void draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) override;
    void draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders, const litehtml::position& draw_pos, bool root) override;
    void set_caption(const litehtml::tchar_t*) override {}
    void set_base_url(const litehtml::tchar_t*) override {}
    void link(const std::shared_ptr<litehtml::document>&, const litehtml::element::ptr&) override {}
    void on_anchor_click(const litehtml::tchar_t*, const litehtml::element::ptr&) override {}
    void set_cursor(const litehtml::tchar_t*) override {}
    void transform_text(litehtml::tstring& text, litehtml::text_transform tt) override;
    void import_css(litehtml::tstring& text, const litehtml::tstring& url, litehtml::tstring& baseurl) override;
    void set_clip(const litehtml::position& pos, const litehtml::border_radiuses& radius, bool valid_x, bool valid_y) override;
    void del_clip() override;
    void get_client_rect(litehtml::position& client) const override;
    std::shared_ptr<litehtml::element> create_element(const litehtml::tchar_t*, const litehtml::string_map&,
                                                      const std::shared_ptr<litehtml::document>&) override {
        return nullptr;
    }
    void get_media_features(litehtml::media_features& media) const override;
    void get_language(litehtml::tstring& language, litehtml::tstring& culture) const override;
    // Words end at white space, and every ideograph is a word of its own: text in Chinese,
    // Japanese or Korean has no spaces and must still wrap. A word longer than kLongWord
    // characters (a link, a run of signs) goes in pieces of kLongWordPiece, so that it wraps
    // at the page's width instead of widening the page.
    void split_text(const char* text, const std::function<void(const litehtml::tchar_t*)>& onWord,
                    const std::function<void(const litehtml::tchar_t*)>& onSpace) override;

    static constexpr int kLongWord = 40;
    static constexpr int kLongWordPiece = 4;

private:
    struct Font;
    void CheckBudget() const;
    HDC DcOf(litehtml::uint_ptr hdc) const { return hdc ? reinterpret_cast<HDC>(hdc) : dc_; }
    TGraphic* Picture(const std::string& src);
    void FillBox(HDC dc, int x, int y, int w, int h, const litehtml::web_color& color);
    void DrawPicture(HDC dc, TGraphic& picture, int x, int y, int w, int h);

    HDC dc_;
    const THtmlSource& source_;
    int width_;
    std::chrono::steady_clock::time_point deadline_;
    std::map<std::string, std::unique_ptr<TGraphic>> pictures_;  // null: could not be had
    std::vector<std::string> refused_;
    int clipDepth_ = 0;
    int docWidth_ = 0, docHeight_ = 0;  // 0: not laid out yet
};

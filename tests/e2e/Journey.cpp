#include "tests/e2e/Journey.h"

#include <fstream>
#include <regex>
#include <set>
#include <thread>

#include <QImage>

namespace fs = std::filesystem;

namespace e2e {

bool PictureHasInk(const fs::path& file) {
    const QImage image(QString::fromStdString(file.string()));
    if (image.isNull() || image.width() < 4 || image.height() < 4) return false;
    std::set<QRgb> colours;
    for (int y = 0; y < image.height() && colours.size() < 2; y += 3)
        for (int x = 0; x < image.width() && colours.size() < 2; x += 3) colours.insert(image.pixel(x, y));
    return colours.size() >= 2;
}

int DarkPixels(const fs::path& png, int x, int y, int w, int h) {
    const QImage image(QString::fromStdString(png.string()));
    int dark = 0;
    for (int j = std::max(0, y); j < std::min(image.height(), y + h); ++j)
        for (int i = std::max(0, x); i < std::min(image.width(), x + w); ++i)
            if (qGray(image.pixel(i, j)) < 100) ++dark;
    return dark;
}

int DetailNumber(const std::optional<Control>& c, const std::string& key) {
    if (!c) return -1;
    const std::size_t at = c->detail.find(key + "=");
    return at == std::string::npos ? -1 : std::atoi(c->detail.c_str() + at + key.size() + 1);
}

std::string DetailText(const std::optional<Control>& c, const std::string& key) {
    if (!c) return {};
    std::smatch m;
    const std::regex re(key + "=(.*?)( [a-z]+=|$)");
    return std::regex_search(c->detail, m, re) ? m[1].str() : std::string();
}

std::function<bool(const std::vector<Control>&)> ListHas(int items) {
    return [items](const std::vector<Control>& cs) { return DetailNumber(FindControl(cs, "Form1.Messagelist"), "items") == items; };
}

void Journey::SetUp() {
    if (testsupport::CorpusDir().empty()) GTEST_SKIP() << "corpus folder absent; set QUILLORA_CORPUS_DIR";
    desktop_ = std::make_unique<Desktop>();
    if (!desktop_->Failure().empty()) GTEST_SKIP() << "no X display for the journeys: " << desktop_->Failure();
    dir_ = std::make_unique<testsupport::TempDir>();
    home_ = MakeHome(dir_->path());
}

void Journey::TearDown() {
    if (program_ && HasFailure()) {
        // What the person would have seen, kept in the build tree's test folder for a look.
        std::error_code ec;
        fs::create_directories("e2e-failures", ec);
        const fs::path shot = fs::absolute("e2e-failures") /
                              (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".png");
        if (desktop_->Screenshot(shot)) std::cerr << "screen at the failure: " << shot << "\n";
        std::cerr << "program output:\n" << program_->Errors().substr(0, 4000) << "\n";
    }
    program_.reset();
    desktop_.reset();
    dir_.reset();
}

void Journey::CopyMail(const std::vector<std::string>& files, const std::string& subfolder) {
    const fs::path target = subfolder.empty() ? Mail() : Mail() / subfolder;
    fs::create_directories(target);
    for (const std::string& f : files) fs::copy_file(testsupport::CorpusDir() / f, target / fs::path(f).filename());
}

void Journey::Settle() {
    Program setup(*desktop_, home_, {"/SETUP"});
    (void)setup.Close("", 60s);
    const fs::path reg = home_ / "registry/user.reg";
    std::string text = testsupport::ReadFileBytes(reg);
    text = std::regex_replace(text, std::regex("\"Language\"=dword:[0-9a-f]+"), "\"Language\"=dword:00000001");
    std::ofstream(reg, std::ios::binary | std::ios::trunc) << text;
}

Program& Journey::Start(const std::vector<std::string>& args, bool firstRun, const std::map<std::string, std::string>& env) {
    if (!firstRun && !fs::exists(home_ / "registry/user.reg")) Settle();
    program_.reset();
    program_ = std::make_unique<Program>(*desktop_, home_, args, env);
    return *program_;
}

void Journey::ClickOn(const std::string& control, const std::string& whatIsMissing) {
    ASSERT_TRUE(program_->ClickOn(control)) << whatIsMissing << " (no control " << control << " shows)";
}

void Journey::ClickMenu(const std::string& menu, const std::string& item, const std::string& whatIsMissing) {
    ClickOn("Form1.MainMenu1." + menu, whatIsMissing + ": the menu bar shows no " + menu);
    // An open menu is a window of its own: give the window system a moment to show it.
    ASSERT_TRUE(program_->WaitFor("Form1.MainMenu1." + item, 10s)) << whatIsMissing << ": the menu " << menu << " does not open";
    std::this_thread::sleep_for(300ms);
    ClickOn("Form1.MainMenu1." + item, whatIsMissing);
}

void Journey::SelectMessage(int row, const std::string& subject) {
    const auto list = program_->Find("Form1.Messagelist");
    ASSERT_TRUE(list) << "the message list does not show";
    desktop_->Click(list->x + 150, list->y + 36 + 18 * row);
    ASSERT_TRUE(program_->WaitUntil([&subject](const std::vector<Control>& cs) {
        const auto s = FindControl(cs, "Form1.lbSubject");
        return s && s->text == subject;
    }, 20s)) << "a click on the message \"" << subject << "\" does not show it";
}

std::string Journey::Trace() const {
    const fs::path log = program_ ? program_->Trace() : fs::path();
    return log.empty() ? std::string() : testsupport::ReadFileBytes(log);
}

}  // namespace e2e

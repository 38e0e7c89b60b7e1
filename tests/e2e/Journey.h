// What every journey shares: a desktop, a home with copies of corpus mail, the program on it,
// and checks phrased as what a person sees.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "tests/e2e/Desktop.h"
#include "tests/support/TestSupport.h"

namespace e2e {

// The file is a picture with something drawn in it (more than one colour), not only a name.
bool PictureHasInk(const std::filesystem::path& file);
// The dark pixels (text, lines) of a screen picture inside a rectangle.
int DarkPixels(const std::filesystem::path& png, int x, int y, int w, int h);

// A number after "key=" in a control's detail, -1 when absent.
int DetailNumber(const std::optional<Control>& c, const std::string& key);
// The text after "key=" up to the next " name=" or the end.
std::string DetailText(const std::optional<Control>& c, const std::string& key);
// The message list shows that many messages.
std::function<bool(const std::vector<Control>&)> ListHas(int items);

class Journey : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Copies corpus files (paths relative to the corpus folder) into the home's mail folder,
    // keeping the last folder name given as a subfolder when asked.
    void CopyMail(const std::vector<std::string>& files, const std::string& subfolder = {});
    std::filesystem::path Mail() const { return home_ / "mail"; }
    // Starts the program with the arguments; the settings are those a first run left unless
    // firstRun (then the settings window comes up).
    Program& Start(const std::vector<std::string>& args, bool firstRun = false,
                   const std::map<std::string, std::string>& env = {});
    // Writes the settings a finished first run leaves (English, no splash).
    void Settle();
    // Clicks a control named in the program's map, failing with what a person saw.
    void ClickOn(const std::string& control, const std::string& whatIsMissing);
    std::string Trace() const;
    // Opens a menu of the main window's menu bar and clicks one of its items (both by name).
    void ClickMenu(const std::string& menu, const std::string& item, const std::string& whatIsMissing);
    // Clicks a row of the message list and waits until the header shows that subject.
    void SelectMessage(int row, const std::string& subject);

    std::unique_ptr<Desktop> desktop_;
    std::unique_ptr<testsupport::TempDir> dir_;
    std::filesystem::path home_;
    std::unique_ptr<Program> program_;
};

}  // namespace e2e

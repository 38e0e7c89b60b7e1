// A window registered as a drop target, offscreen: synthetic drag events carrying file URLs
// reach its IDropTarget in order, with the data as the drop-files list and the answer as the
// drop action.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "platform/com/DropFilesBlock.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/OleDragDrop.h"
#include "platform/vcl/qt/WidgetSetQt.h"

namespace {

// Plays a target that takes files by copy, and refuses anything else.
class FileTarget final : public ComObject<IDropTarget> {
public:
    std::vector<std::string> calls;
    std::vector<WideString> files;

    HRESULT DragEnter(IDataObject* data, DWORD keys, POINTL, DWORD* effect) override {
        calls.push_back("enter");
        FORMATETC f{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        accepts_ = data->QueryGetData(&f) == S_OK;
        *effect = Answer(keys, *effect);
        return S_OK;
    }
    HRESULT DragOver(DWORD keys, POINTL, DWORD* effect) override {
        calls.push_back("over");
        *effect = Answer(keys, *effect);
        return S_OK;
    }
    HRESULT DragLeave() override {
        calls.push_back("leave");
        return S_OK;
    }
    HRESULT Drop(IDataObject* data, DWORD keys, POINTL, DWORD* effect) override {
        calls.push_back("drop");
        FORMATETC f{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        ScopedStgMedium medium;
        if (data->GetData(&f, medium.get()) == S_OK) files = ReadFilesFromHGlobal((*medium).hGlobal);
        *effect = Answer(keys, *effect);
        return S_OK;
    }

private:
    DWORD Answer(DWORD keys, DWORD allowed) const {
        return accepts_ && (keys & MK_CONTROL) ? allowed & DROPEFFECT_COPY : DROPEFFECT_NONE;
    }
    bool accepts_ = false;
};

class DropTargetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InstallQtWidgetSet();
        Application->Initialize();
    }
};

TEST_F(DropTargetTest, FileUrlsReachTheRegisteredTarget) {
    auto* form = new TForm(Application);
    form->SetBounds(10, 10, 200, 100);
    form->Show();
    auto* widget = dynamic_cast<QWidget*>(form->Peer());
    ASSERT_NE(widget, nullptr);
    const ComPtr<FileTarget> target = MakeComObject<FileTarget>();
    ASSERT_EQ(RegisterDragDrop(form->Handle(), target.get()), S_OK);
    EXPECT_EQ(RegisterDragDrop(form->Handle(), target.get()), DRAGDROP_E_ALREADYREGISTERED);
    EXPECT_TRUE(widget->acceptDrops());

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/tmp/\u4E00 a.msg"), QUrl::fromLocalFile("/tmp/b.eml")});
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(QPoint(20, 20), actions, &data, Qt::LeftButton, Qt::ControlModifier);
    QApplication::sendEvent(widget, &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction);

    QDragMoveEvent plainMove(QPoint(30, 20), actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &plainMove);
    EXPECT_FALSE(plainMove.isAccepted());

    QDropEvent drop(QPointF(30, 20), actions, &data, Qt::NoButton, Qt::ControlModifier);
    QApplication::sendEvent(widget, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
    EXPECT_EQ(target->calls, (std::vector<std::string>{"enter", "over", "drop"}));
    EXPECT_EQ(target->files, (std::vector<WideString>{u"/tmp/\u4E00 a.msg", u"/tmp/b.eml"}));

    EXPECT_EQ(RevokeDragDrop(form->Handle()), S_OK);
    EXPECT_EQ(RevokeDragDrop(form->Handle()), DRAGDROP_E_NOTREGISTERED);
    delete form;
}

}  // namespace

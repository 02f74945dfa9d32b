#include "shell/model/form1_inventory.h"

#include "shell/model/element_builder.h"
#include "shell/model/palette.h"

namespace kazunavi {

using namespace palette;

// The window's size is the start-up's to set.
Form1Inventory::Form1Inventory() : Window("Form1", kHandle) {
    ElementBuilder b(*this);

    // The strip: always shown.
    b.button("Command6(1)").at(30, 60, 195, 135).back(kRed).flat().tip(u"Kazunaviの終了");
    b.label("lblEXIT").at(60, 90, 120, 60).back(kRed).opaque().small(true).tip(u"Kazunaviの終了");
    b.shape("Shape2", ShapeForm::Rectangle).at(30, 60, 180, 120).borderColour(kGrey);
    b.textBox("txtNow").at(240, 60, 1890, 285).back(kField).fore(kFieldText).font(kPGothic, 11.25);
    b.shape("Sh1", ShapeForm::Circle).at(75, 390, 75, 75).borderColour(0x404040).fill(0x000000);
    b.label("Label5(3)").at(180, 375, 75, 120).fore(kSilver).small(false).caption(u"|");
    b.label("lblAuto")
        .at(255, 375, 375, 120)
        .fore(kRed)
        .small(true)
        .caption(u"AUTO")
        .tip(u"自動閲覧 On/Off");
    b.label("Label5(4)").at(630, 375, 75, 120).fore(kSilver).small(false).caption(u"|");
    b.label("Label3")
        .at(705, 360, 180, 165)
        .fore(0xFF0000)
        .font(kPGothic, 8.25, true)
        .caption(u"←");
    b.label("Label2")
        .at(915, 360, 180, 165)
        .fore(0xFF0000)
        .font(kPGothic, 8.25, true)
        .caption(u"→");
    b.label("Label5(5)").at(1065, 375, 75, 120).fore(kSilver).small(false).caption(u"|");
    b.label("lblCUT")
        .at(1125, 375, 375, 120)
        .fore(kSlate)
        .small(true)
        .caption(u"PICK")
        .tip(u"変動数値抽出");
    b.textBox("txtNo").at(1530, 375, 615, 270).back(kField).fore(kFieldText).text(u"0").disabled();
    b.picture("Picture4").at(2130, 375, 570, 270).back(0x000000);
    b.button("UPbutton")
        .in("Picture4")
        .at(0, 0, 260, 210)
        .font(kPGothic, 9.75)
        .caption(u"+")
        .tip(u"カウントアップ・ブラウズ")
        .disabled();
    b.button("DWNbutton")
        .in("Picture4")
        .at(255, 0, 260, 210)
        .font(kPGothic, 9.75)
        .caption(u"-")
        .tip(u"カウントダウン・ブラウズ")
        .disabled();
    b.label("lblEDIT")
        .at(255, 540, 375, 120)
        .fore(kSlate)
        .small(true)
        .caption(u"HELP")
        .tip(u"Kazunaviについて...");
    b.label("lblOPEN").at(705, 540, 150, 120).fore(kSlate).small(false).caption(u"▼").tip(u"詳細");
    b.line("Line1(1)").from(15, 670).to(2715, 670).borderColour(kQuiet);
    b.line("Line2").from(2715, 15).to(2715, 2985).borderColour(kGrey);

    // The detail area (685 to 2955), shown while the window is expanded. The
    // panels keep their inner arrangement; around them the rows run from top
    // to bottom: the clipboard-clear, add-text and limiter panel; the keyword
    // and the clipboard indicator; the caught text beside the title; the
    // hold-to-count row; the keep list; the memo pad; the credit line.
    // The detail area is lower than the elements' heights add up to, so a
    // few loose elements are narrower or lower than their design size (the
    // README lists them): the caught text (one line, 1770 x 150), the KEEP
    // button (525 wide), the name list and the name box (1620 and 1230 wide)
    // with the memo pad beside them (1005 wide).
    b.picture("Pic1").at(30, 690, 2670, 435);
    b.label("lblAccess")
        .in("Pic1")
        .at(105, 60, 285, 120)
        .fore(kSlate)
        .small(true)
        .caption(u"CLS")
        .tip(u"クリップボードとKazunaviのクリア");
    b.line("Line3(0)").in("Pic1").from(495, 15).to(495, 355).borderColour(kGrey);
    b.line("Line3(1)").in("Pic1").from(510, 15).to(510, 355).borderColour(0xFFFFFF);
    b.label("Label4(6)")
        .in("Pic1")
        .at(555, 30, 600, 120)
        .fore(kPanelCaption)
        .small(false)
        .caption(u"ADD-TEXT");
    b.textBox("Text2")
        .in("Pic1")
        .at(540, 150, 645, 210)
        .fore(0x404040)
        .font(kPGothic, 8.25)
        .text(u"http://")
        .tip(u"[ADD]ボタンで付加する文字");
    b.line("Line3(5)").in("Pic1").from(1200, 15).to(1200, 355).borderColour(kGrey);
    b.line("Line3(4)").in("Pic1").from(1215, 15).to(1215, 355).borderColour(0xFFFFFF);
    b.label("Label4(3)")
        .in("Pic1")
        .at(1290, 75, 375, 120)
        .fore(kPanelCaption)
        .small(false)
        .caption(u"LIMIT");
    b.label("lblLIMIT")
        .in("Pic1")
        .at(1275, 210, 405, 120)
        .fore(kRed)
        .small(true)
        .centred()
        .caption(u"ON")
        .tip(u"数値リミット自動認識 On/Off");
    b.label("Label4(0)").in("Pic1").at(1740, 60, 225, 120).fore(kGrey).small(false).caption(u"MAX");
    b.label("Label4(1)")
        .in("Pic1")
        .at(1740, 210, 225, 120)
        .fore(kGrey)
        .small(false)
        .caption(u"MIN");
    b.textBox("txtLimH")
        .in("Pic1")
        .at(2010, 30, 555, 180)
        .back(kField)
        .fore(kFieldText)
        .small(false)
        .text(u"0")
        .tip(u"上限リミッタ");
    b.textBox("txtLimL")
        .in("Pic1")
        .at(2010, 180, 555, 180)
        .back(kField)
        .fore(kFieldText)
        .small(false)
        .text(u"0")
        .tip(u"下限リミッタ");

    // Keyword, browse-again, ADD and the clipboard indicator (1140 to 1365).
    b.label("Label4(2)").at(30, 1192, 735, 120).fore(kGrey).small(true).caption(u"*KEYWORD");
    b.textBox("txtKeyWord").at(765, 1140, 795, 225).text(u"://");
    b.button("Command10")
        .at(1575, 1147, 150, 210)
        .back(kField)
        .flat()
        .small(false)
        .tip(u"再ブラウズ");
    b.button("Command5")
        .at(1740, 1140, 430, 225)
        .back(kButtonFace)
        .flat()
        .small(false)
        .caption(u"ADD")
        .tip(u"ADD-TEXT を付加してブラウズ");
    b.label("lblCripDirect").at(2265, 1192, 375, 120).fore(kQuiet).small(true).caption(u"CRIP");

    // The caught text and the title bitmap (1380 to 1530).
    b.label("lblURL")
        .at(30, 1380, 1770, 150)
        .fore(0x008000)
        .small(false)
        .opaque()
        .caption(u"lblURL");
    b.picture("Picture1").at(1815, 1380, 870, 150);

    // Hold-to-count, the step labels and the caption of the keep function
    // (1545 to 1710).
    b.label("Label4(4)").at(30, 1567, 465, 120).fore(0x008000).small(true).caption(u"COUNT");
    b.button("cmdUP").at(510, 1545, 375, 165).font(kPGothic, 8.25).caption(u"+").disabled();
    b.button("Command1").at(900, 1545, 375, 165).font(kPGothic, 8.25).caption(u"-").disabled();
    b.label("Label5(0)").at(1290, 1567, 75, 120).fore(kSilver).small(false).caption(u"|");
    b.label("lblUP")
        .at(1365, 1567, 195, 120)
        .fore(0x000080)
        .small(true)
        .caption(u"UP")
        .tip(u"数値を加算して閲覧");
    b.label("lbl").at(1560, 1567, 75, 120).fore(kSlate).small(false).caption(u"/").disabled();
    b.label("lblDWN")
        .at(1635, 1567, 285, 120)
        .fore(kSlate)
        .small(true)
        .caption(u"DWN")
        .tip(u"数値を減算して閲覧");
    b.label("Label1")
        .at(1920, 1567, 405, 120)
        .fore(kSlate)
        .small(true)
        .centred()
        .caption(u"[SET]")
        .tip(u"手動閲覧")
        .disabled();
    b.label("lblKeep")
        .at(2325, 1567, 375, 120)
        .fore(kSlate)
        .small(true)
        .caption(u"KEEP")
        .tip(u"URLの保存");
    b.line("Line1(0)").from(0, 1717).to(2715, 1717).borderColour(kQuiet);

    // The keep list (1725 to 2580): count, DEL and BROWSE with the KEEP button
    // under its caption, the names, the name to keep under.
    b.picture("Picture2").at(30, 1725, 2130, 255).back(0x000000);
    b.label("lblCNT")
        .in("Picture2")
        .at(0, 0, 330, 240)
        .fore(0xFFFFFF)
        .font(kPGothic, 9.75, true)
        .right()
        .caption(u"0")
        .tip(u"リスト保存件数");
    b.button("Command4")
        .in("Picture2")
        .at(1005, 0, 415, 195)
        .back(0xC0C0C0)
        .flat()
        .small(false)
        .caption(u"DEL")
        .tip(u"選択中リストの削除");
    b.button("Command2")
        .in("Picture2")
        .at(1440, 0, 615, 195)
        .back(kButtonFace)
        .flat()
        .small(false)
        .caption(u"BROWSE")
        .tip(u"リストのWebページを開く");
    b.button("Command3")
        .at(2175, 1755, 525, 195)
        .back(kButtonFace)
        .flat()
        .small(false)
        .caption(u"KEEP")
        .tip(u"URLをリストに保存");
    b.comboBox("List1").at(30, 1995, 1620, 300).back(kField).fore(kFieldText);
    b.label("Label4(8)")
        .at(30, 2385, 375, 120)
        .fore(kPanelCaption)
        .small(false)
        .centred()
        .caption(u"TITLE");
    b.textBox("Text1").at(420, 2310, 1230, 270).back(0xFFFFFF).tip(u"登録名");

    // The memo pad beside the keep list, its buttons under it (2595 to 2850).
    b.textBox("txtMemo").at(1680, 1995, 1005, 540).back(0xFFFFFF).fore(kQuiet).multiLine();
    b.label("Label4(5)")
        .at(30, 2632, 435, 180)
        .back(0xFFFFFF)
        .opaque()
        .fore(kQuiet)
        .small(false)
        .centred()
        .bordered()
        .caption(u"MEMO");
    b.label("Label4(7)").at(645, 2662, 300, 120).fore(0x707070).small(false).caption(u"CLIP");
    b.picture("Picture6").at(960, 2595, 1725, 255).back(0x000000);
    b.button("Command9")
        .in("Picture6")
        .at(15, 0, 465, 195)
        .back(kButtonFace)
        .flat()
        .small(false)
        .caption(u"ADD")
        .tip(u"ADD-TEXTの追加");
    b.button("Command7")
        .in("Picture6")
        .at(495, 0, 570, 195)
        .back(kButtonFace)
        .flat()
        .small(false)
        .caption(u"INPUT")
        .tip(u"クリップボードから取込み");
    b.button("Command8")
        .in("Picture6")
        .at(1080, 0, 570, 195)
        .back(kButtonFace)
        .flat()
        .small(false)
        .caption(u"OUTPUT")
        .tip(u"クリップボードへ送る");

    // The credit line (2850 to 2940), a pixel above the window's edge.
    b.label("Label7")
        .at(30, 2850, 1650, 90)
        .fore(kSlate)
        .font(kSmallFonts, 4.5, false, true)
        .caption(u"Kazunavi 1.2  (c) Kazunavi team");

    // Storage elements: working values kept in captions and items.
    b.label("lblNoo").caption(u"Label6").storage(false);
    b.label("lblFLL").storage(false);
    b.label("lblCutF").storage(false);
    b.label("lblSTR").storage(false);
    b.label("lblB").caption(u"lblB").storage(true);
    b.label("lblF").caption(u"lblF").storage(true);
    b.label("lblOldURL").caption(u"lblOldURL").storage(true);
    b.label("lblURLright").caption(u"lblURLright").storage(true);
    b.label("lblNO").caption(u"lblNO").storage(true);
    b.label("lAWH").storage(false);
    b.label("lURL").storage(false);
    b.label("lTTL").storage(false);
    b.listBox("List2").size(1095, 240).storage(false);
}

}  // namespace kazunavi

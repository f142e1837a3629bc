#pragma once
// Excel's clipboard HTML, kept out of the test, whose moc cannot read raw strings.
namespace loadcalc::test {
// Its "HTML Format" (Qt drops the header with the offsets): styles in a comment, the fragment
// marks, a merged cell, a line break inside a cell.
inline constexpr const char* excel_html =
    R"html(<html xmlns:x="urn:schemas-microsoft-com:office:excel">
<head><style><!--.xl65 {mso-number-format:"\@";}--></style></head>
<body><table border=0><!--StartFragment-->
 <tr><td colspan=2 class=xl65>KL1 &lt;①&gt;</td><td>备注</td></tr>
 <tr><td>KL2</td><td align=right>3.60</td>
  <td style='white-space:normal'>首层<br style='mso-data-placement:same-cell' />加厚</td></tr>
<!--EndFragment--></table></body></html>)html";
// LibreOffice Calc's: sdval attributes, an empty cell written as a lone line break.
inline constexpr const char* libreoffice_html =
    R"html(<html><body><table cellspacing="0" border="0">
	<tr><td>TB1</td><td align="right" sdval="280" sdnum="2052;">280</td><td align="left"><br></td></tr>
</table></body></html>)html";
}  // namespace loadcalc::test

#pragma once
// Blocks of cells as spreadsheets put them on the clipboard, written out as they come. Kept out
// of the test's source, whose moc cannot read their raw strings.

namespace loadcalc::test {

// What Excel puts on the clipboard as "HTML Format" (Qt drops the header with the offsets):
// styles in a comment, a column element, cells with classes, a multi-line cell, an empty one.
inline constexpr const char* excel_html = R"html(<html xmlns:v="urn:schemas-microsoft-com:vml"
xmlns:o="urn:schemas-microsoft-com:office:office"
xmlns:x="urn:schemas-microsoft-com:office:excel"
xmlns="http://www.w3.org/TR/REC-html40">
<head>
<meta http-equiv=Content-Type content="text/html; charset=utf-8">
<meta name=ProgId content=Excel.Sheet>
<meta name=Generator content="Microsoft Excel 15">
<style>
<!--table
	{mso-displayed-decimal-separator:"\.";
	mso-displayed-thousand-separator:"\,";}
.xl65
	{mso-number-format:"\@";}
-->
</style>
</head>
<body link="#0563C1" vlink="#954F72">
<table border=0 cellpadding=0 cellspacing=0 width=216 style='border-collapse:
 collapse;width:162pt'>
<!--StartFragment-->
 <col width=72 span=3 style='width:54pt'>
 <tr height=19 style='height:14.25pt'>
  <td height=19 width=72 style='height:14.25pt;width:54pt'>构件</td>
  <td width=72 style='width:54pt'>层高(m)</td>
  <td width=72 style='width:54pt'>备注</td>
 </tr>
 <tr height=38 style='height:28.5pt'>
  <td height=38 class=xl65 style='height:28.5pt'>KL1 &lt;①&gt;</td>
  <td class=xl65 align=right>3.60</td>
  <td class=xl65 style='white-space:normal'>首层<br style='mso-data-placement:same-cell' />加厚</td>
 </tr>
 <tr height=19 style='height:14.25pt'>
  <td height=19 style='height:14.25pt'>KL2</td>
  <td align=right>3.3</td>
  <td></td>
 </tr>
<!--EndFragment-->
</table>
</body>
</html>
)html";

// LibreOffice Calc's: a colgroup, sdval attributes, an empty cell written as a lone line break.
inline constexpr const char* libreoffice_html =
    R"html(<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.0 Transitional//EN">
<html>
<head>
	<meta http-equiv="content-type" content="text/html; charset=utf-8"/>
	<title></title>
	<meta name="generator" content="LibreOffice 7.4.7.2 (Linux)"/>
	<style type="text/css">
		body,div,table,thead,tbody,tfoot,tr,th,td,p { font-family:"Liberation Sans"; font-size:x-small }
	</style>
</head>
<body>
<table cellspacing="0" border="0">
	<colgroup span="3" width="85"></colgroup>
	<tr>
		<td height="17" align="left">TB1</td>
		<td align="right" sdval="280" sdnum="2052;">280</td>
		<td align="left"><br></td>
	</tr>
	<tr>
		<td height="17" align="left">TB2</td>
		<td align="right" sdval="300" sdnum="2052;">300</td>
		<td align="left">注 &amp; 说明</td>
	</tr>
</table>
</body>
</html>
)html";

}  // namespace loadcalc::test

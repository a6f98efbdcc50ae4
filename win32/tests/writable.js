// Exits 0 when the file can be opened for writing, 1 when it cannot (a running program).
// usage: cscript //nologo writable.js FILE
try {
  new ActiveXObject("Scripting.FileSystemObject").OpenTextFile(WScript.Arguments(0), 8).Close();
  WScript.Quit(0);
} catch (e) {
  WScript.Quit(1);
}

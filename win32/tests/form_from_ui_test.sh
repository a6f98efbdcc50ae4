#!/bin/sh
# Feeds form_from_ui.py the form with one thing changed that the Windows dialog cannot
# show, and expects each refused by name, with status 1, never a Python traceback.
# usage: form_from_ui_test.sh PYTHON SCRIPT FORM
set -u
python=$1 script=$2 form=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

# usage: refused WHAT SED-EDIT EXPECTED-MESSAGE
refused() {
  sed "$2" "$form" >"$work/form.ui"
  if cmp -s "$form" "$work/form.ui"; then
    echo "FAIL: $1: the edit changed nothing"; failed=1; return
  fi
  "$python" "$script" "$work/form.ui" "$work/form.dlg" "$work/layout.h" 2>"$work/err"
  status=$?
  message=$(cat "$work/err")
  case "$status:$message" in
    "1:form_from_ui: $work/form.ui: "$3) echo "ok: $1" ;;
    *) echo "FAIL: $1: status $status, said: $message"; failed=1 ;;
  esac
}

refused "a widget property" \
  's|<property name="default">|<property name="flat"><bool>true</bool></property>&|' \
  "Command1: property flat is not carried over to Windows"
refused "a frame without its shape" \
  '/<property name="frameShape">/d' \
  "Line1: frameShape must be QFrame::HLine: only horizontal lines are carried over"
refused "a style sheet declaration" \
  's|^#Text1 { font-size: 14.25pt; }|#Text1 { font-size: 14.25pt; font-weight: bold; }|' \
  "Text1: style sheet '#Text1 { font-weight }' is not carried over to Windows"
refused "a form that is not XML" \
  's|</ui>|</wrong>|' \
  "cannot be carried over to Windows: ParseError: mismatched tag: *"
exit $failed

#!/usr/bin/env bash
# check_udev_rules.sh FILE: the syntax of a udev rules file, line by line. Each rule is a list of
# KEY[{attr}] OP "value" separated by commas, with at least one match (== or !=) and at least
# one assignment (=, +=, -=, :=); keys are the ones udev knows. Uses udevadm verify when the
# system's udevadm has it.
set -uo pipefail
file=$1
if udevadm verify --help >/dev/null 2>&1; then
  udevadm verify "$file" || exit 1
fi
keys='ACTION|DEVPATH|KERNEL|KERNELS|NAME|SYMLINK|SUBSYSTEM|SUBSYSTEMS|DRIVER|DRIVERS|ATTR|ATTRS|SYSCTL|ENV|CONST|TAG|TAGS|TEST|PROGRAM|RESULT|OWNER|GROUP|MODE|SECLABEL|OPTIONS|LABEL|GOTO|IMPORT|RUN'
token="^($keys)(\\{[A-Za-z0-9_.-]+\\})?(==|!=|\\+=|-=|:=|=)\"[^\"]*\"\$"
status=0 n=0 rules=0
while IFS= read -r line || [ -n "$line" ]; do
  n=$((n + 1))
  trimmed="${line#"${line%%[![:space:]]*}"}"
  [ -z "$trimmed" ] || [ "${trimmed:0:1}" = "#" ] && continue
  rules=$((rules + 1))
  matches=0 assigns=0
  IFS=$'\n' read -r -d '' -a parts < <(sed 's/", */"\n/g' <<<"$trimmed" && printf '\0')
  for part in "${parts[@]}"; do
    part="${part#"${part%%[![:space:]]*}"}"
    part="${part%"${part##*[![:space:]]}"}"
    [ -z "$part" ] && continue
    if ! [[ $part =~ $token ]]; then
      echo "$file:$n: not a udev key: $part" >&2
      status=1
      continue
    fi
    case "${BASH_REMATCH[3]}" in
      ==|!=) matches=$((matches + 1)) ;;
      *) assigns=$((assigns + 1)) ;;
    esac
  done
  if [ "$matches" -eq 0 ] || [ "$assigns" -eq 0 ]; then
    echo "$file:$n: a rule needs a match and an assignment: $trimmed" >&2
    status=1
  fi
done <"$file"
[ "$rules" -gt 0 ] || { echo "$file: no rules" >&2; status=1; }
exit $status

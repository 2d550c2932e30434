#!/usr/bin/env bash
# Remakes the signed patches the signature tests read (they run under wine too, where neither
# tool is at hand): two fresh keys, a patch signed by pelmorix-publish with key A and again with
# key B, and the same patch signed with openssl and coreutils alone. The private keys are thrown
# away. Usage: make.sh PATH-TO-pelmorix-publish
set -euo pipefail
publish=$(realpath "$1")
cd "$(dirname "$0")"
keys=$(mktemp -d)
trap 'rm -rf "$keys"' EXIT
mkdir "$keys/a" "$keys/b"
"$publish" keygen "$keys/a"
"$publish" keygen "$keys/b"
cp "$keys/a/patch-key-public.pem" key-a-public.pem
cp "$keys/b/patch-key-public.pem" key-b-public.pem

mkdir -p files publish openssl
printf 'first file\n' > files/a.txt
printf 'second\0file\r\n' > files/b.bin
sign=(--id 101 --type 1 --name Tarnovia --version 1.2 --url http://127.0.0.1/p/)
"$publish" sign --key "$keys/a/patch-key-private.pem" "${sign[@]}" --out publish/list.txt \
  files 'a.txt=Spiele\a.txt' b.bin=b.bin
"$publish" sign --key "$keys/b/patch-key-private.pem" "${sign[@]}" --out "$keys/list.txt" \
  files 'a.txt=Spiele\a.txt' b.bin=b.bin
cp "$keys/list.txt.sig" publish/list.txt.sig-by-key-b

# What a vendor without pelmorix-publish does (README).
printf 'Tarnovia|1.2|||2|http://127.0.0.1/p/a.txt|a.txt|Spiele\\a.txt|http://127.0.0.1/p/b.bin|b.bin|b.bin|' \
  > openssl/list.txt
(cd files && sha256sum a.txt b.bin) > openssl/list.txt.sha256
{ printf 'Pelmorix patch 1\nid %s\ntype %s\nlist %s\n' 101 1 "$(wc -c < openssl/list.txt)"
  cat openssl/list.txt openssl/list.txt.sha256; } > openssl/message
openssl dgst -sha256 -sign "$keys/a/patch-key-private.pem" -out openssl/list.txt.sig openssl/message

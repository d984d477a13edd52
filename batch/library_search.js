// The library page's search: the texts of the albums and the words typed, folded alike, so
// that people find an album however they type it. Written into the page's script when
// the page is written; tests load it as a module.
//
//   var key = librarySearch.key(['さくら', 'Beyoncé', 'Pop/Sakura']);
//   librarySearch.matches(key, librarySearch.words('sakura beyonce'))   // true
var librarySearch = (function () {
  'use strict';

  // Latin letters that lose no accent to decomposition but are written without one.
  var PLAIN = { 'ß': 'ss', 'æ': 'ae', 'œ': 'oe', 'ø': 'o', 'đ': 'd', 'ð': 'd', 'þ': 'th',
    'ł': 'l', 'ħ': 'h', 'ı': 'i', 'ŀ': 'l', 'ŧ': 't', 'ŋ': 'n', 'ĳ': 'ij' };
  var ACCENTED = /[\u00c0-\u024f\u1e00-\u1eff]/;

  // NFKC (either width of kana and Latin letters alike), lower case, Latin letters
  // without their accents, hiragana as katakana, and the long-vowel mark and the middle
  // dot left out, as people type a name with them or without.
  function fold(text) {
    var s = String(text || '');
    try { s = s.normalize('NFKC'); } catch (e) { /* an old browser: as it is */ }
    s = s.toLowerCase();
    if (ACCENTED.test(s)) {
      s = s.normalize('NFD').replace(/[\u0300-\u036f]/g, '').normalize('NFC')
        .replace(/[ßæœøđðþłħıŀŧŋĳ]/g, function (c) { return PLAIN[c]; });
    }
    return s.replace(/[\u3041-\u3096\u309d\u309e]/g, function (c) {
      return String.fromCharCode(c.charCodeAt(0) + 0x60);
    }).replace(/[ー・·]/g, '');
  }

  // Katakana in Hepburn romaji: each kana's syllable; a small ャュョ joins the syllable
  // before it (キャ kya, シャ sha), a small vowel takes the place of its vowel (ファ fa,
  // ティ ti, ウィ wi), and ッ doubles the next consonant.
  var ROWS = {
    'ア': 'a', 'イ': 'i', 'ウ': 'u', 'エ': 'e', 'オ': 'o', 'ヴ': 'vu',
    'カ': 'ka', 'キ': 'ki', 'ク': 'ku', 'ケ': 'ke', 'コ': 'ko', 'ヵ': 'ka', 'ヶ': 'ke',
    'ガ': 'ga', 'ギ': 'gi', 'グ': 'gu', 'ゲ': 'ge', 'ゴ': 'go',
    'サ': 'sa', 'シ': 'shi', 'ス': 'su', 'セ': 'se', 'ソ': 'so',
    'ザ': 'za', 'ジ': 'ji', 'ズ': 'zu', 'ゼ': 'ze', 'ゾ': 'zo',
    'タ': 'ta', 'チ': 'chi', 'ツ': 'tsu', 'テ': 'te', 'ト': 'to',
    'ダ': 'da', 'ヂ': 'ji', 'ヅ': 'zu', 'デ': 'de', 'ド': 'do',
    'ナ': 'na', 'ニ': 'ni', 'ヌ': 'nu', 'ネ': 'ne', 'ノ': 'no',
    'ハ': 'ha', 'ヒ': 'hi', 'フ': 'fu', 'ヘ': 'he', 'ホ': 'ho',
    'バ': 'ba', 'ビ': 'bi', 'ブ': 'bu', 'ベ': 'be', 'ボ': 'bo',
    'パ': 'pa', 'ピ': 'pi', 'プ': 'pu', 'ペ': 'pe', 'ポ': 'po',
    'マ': 'ma', 'ミ': 'mi', 'ム': 'mu', 'メ': 'me', 'モ': 'mo',
    'ヤ': 'ya', 'ユ': 'yu', 'ヨ': 'yo', 'ラ': 'ra', 'リ': 'ri', 'ル': 'ru', 'レ': 're', 'ロ': 'ro',
    'ワ': 'wa', 'ヮ': 'wa', 'ヰ': 'i', 'ヱ': 'e', 'ヲ': 'o', 'ン': 'n'
  };
  var SMALL_Y = { 'ャ': 'a', 'ュ': 'u', 'ョ': 'o' };
  var SMALL_VOWEL = { 'ァ': 'a', 'ィ': 'i', 'ゥ': 'u', 'ェ': 'e', 'ォ': 'o' };
  var KANA = /[\u30a1-\u30fa]/;

  function romanize(s) {
    var out = '';
    var last = '';  // the syllable written last, to be joined by a small kana
    var double = false;
    for (var i = 0; i < s.length; i++) {
      var c = s[i];
      var syllable = ROWS[c];
      if (c === 'ッ') { double = true; continue; }
      if (SMALL_Y[c] && /i$/.test(last)) {
        syllable = /(sh|ch|j)i$/.test(last) ? last.slice(0, -1) + SMALL_Y[c] : last.slice(0, -1) + 'y' + SMALL_Y[c];
        out = out.slice(0, out.length - last.length);
      } else if (SMALL_VOWEL[c] && last) {
        syllable = last === 'u' ? 'w' + SMALL_VOWEL[c] : last.replace(/[aiueo]$/, '') + SMALL_VOWEL[c];
        out = out.slice(0, out.length - last.length);
      } else if (SMALL_Y[c] || SMALL_VOWEL[c]) {
        syllable = SMALL_Y[c] ? 'y' + SMALL_Y[c] : SMALL_VOWEL[c];
      }
      if (syllable === undefined) { out += c; last = ''; double = false; continue; }
      if (double && /^[^aiueon]/.test(syllable)) syllable = syllable[0] + syllable;
      double = false;
      out += syllable;
      last = syllable;
    }
    return out;
  }

  // The one spelling of the ways romaji is typed: Hepburn and Kunrei alike (shi si,
  // chi ti, tsu tu, fu hu, ji zi), doubled consonants (tch cch tt), "nn" and "m" before
  // b, p and m as "n", long vowels as one (ou oo o), を as "o". Both the kana's romaji
  // and the words typed are spelt so.
  function spell(s) {
    return s.replace(/chi/g, 'ti').replace(/ch/g, 'ty').replace(/c(?=t)/g, 't')
      .replace(/shi/g, 'si').replace(/sh/g, 'sy').replace(/tsu/g, 'tu')
      .replace(/fu/g, 'hu').replace(/ji/g, 'zi').replace(/j/g, 'zy')
      .replace(/di/g, 'zi').replace(/du/g, 'zu').replace(/wo/g, 'o')
      .replace(/n'/g, 'n').replace(/n{2,}/g, 'n').replace(/m(?=[bpm])/g, 'n')
      .replace(/ou/g, 'o').replace(/oh(?![aiueo])/g, 'o').replace(/([aiueo])\1+/g, '$1');
  }

  var ROMAJI = /^[a-z0-9'-]+$/;

  // What the search looks in for an album of these texts (title, artist, folder): the
  // texts folded, and where they hold kana, their romaji as well.
  function key(texts) {
    var folded = texts.map(fold).join('\n');
    return { text: folded, romaji: KANA.test(folded) ? spell(romanize(folded)) : null };
  }

  // The words of what was typed, folded; a word in Latin letters alone may be romaji too.
  function words(typed) {
    return fold(typed).split(/\s+/).filter(Boolean).map(function (w) {
      return { text: w, romaji: ROMAJI.test(w) ? spell(w) : null };
    });
  }

  // Whether every word occurs in the album's texts, in any order.
  function matches(k, ws) {
    for (var i = 0; i < ws.length; i++) {
      var w = ws[i];
      if (k.text.indexOf(w.text) < 0 && !(w.romaji && k.romaji && k.romaji.indexOf(w.romaji) >= 0)) {
        return false;
      }
    }
    return true;
  }

  return { fold: fold, key: key, words: words, matches: matches };
})();
if (typeof module !== 'undefined') module.exports = librarySearch;

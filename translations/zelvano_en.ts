<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru">
<context>
    <name>CheckPage</name>
    <message>
        <source>Экспоненциальная модель</source>
        <translation>Exponential model</translation>
    </message>
    <message>
        <source>экспоненциальная модель</source>
        <translation>the exponential model</translation>
    </message>
    <message>
        <source>Модель насыщения</source>
        <translation>Saturation model</translation>
    </message>
    <message>
        <source>модель насыщения</source>
        <translation>the saturation model</translation>
    </message>
    <message>
        <source>Модель Ферхюльста</source>
        <translation>Verhulst model</translation>
    </message>
    <message>
        <source>модель Ферхюльста</source>
        <translation>the Verhulst model</translation>
    </message>
    <message>
        <source>нет начального приближения: мало положительных численностей</source>
        <translation>no starting values: too few positive counts</translation>
    </message>
    <message>
        <source>итерации не сошлись за 1000 шагов</source>
        <translation>the iterations did not converge in 1000 steps</translation>
    </message>
    <message>
        <source>значения вышли за пределы представимых чисел</source>
        <translation>the values left the range of representable numbers</translation>
    </message>
    <message>
        <source>данные не показывают насыщения</source>
        <translation>the data show no saturation</translation>
    </message>
    <message>
        <source>параметры не определяются однозначно</source>
        <translation>the parameters are not uniquely determined</translation>
    </message>
    <message>
        <source>Коэффициент k программы отрицателен, хотя численность выросла: по модели программы популяция убывает.</source>
        <translation>The program&apos;s k is negative although the count grew: by the program&apos;s model the population declines.</translation>
    </message>
    <message>
        <source>понедельный</source>
        <translation>weekly</translation>
    </message>
    <message>
        <source>за два года</source>
        <translation>two-year</translation>
    </message>
    <message>
        <source>за три года</source>
        <translation>three-year</translation>
    </message>
    <message>
        <source>Прогноз программы даёт отрицательную численность (</source>
        <translation>The program&apos;s projection gives a negative count (</translation>
    </message>
    <message>
        <source>Численность выше S = </source>
        <translation>The count exceeds S = </translation>
    </message>
    <message>
        <source> в месяцах</source>
        <translation> in months</translation>
    </message>
    <message>
        <source>от месяца </source>
        <translation>from month </translation>
    </message>
    <message>
        <source> к месяцу </source>
        <translation> to month </translation>
    </message>
    <message>
        <source> (с </source>
        <translation> (from </translation>
    </message>
    <message>
        <source> до </source>
        <translation> to </translation>
    </message>
    <message>
        <source>Численность падает </source>
        <translation>The count falls </translation>
    </message>
    <message>
        <source> раза</source>
        <translation> times</translation>
    </message>
    <message>
        <source> раз</source>
        <translation> times</translation>
    </message>
    <message>
        <source>, в том числе:</source>
        <translation>, among them:</translation>
    </message>
    <message>
        <source>Численность падает:</source>
        <translation>The count falls:</translation>
    </message>
    <message>
        <source>Первая популяция: подгонка методом наименьших квадратов</source>
        <translation>Population 1: least-squares fit</translation>
    </message>
    <message>
        <source>Вторая популяция: подгонка методом наименьших квадратов</source>
        <translation>Population 2: least-squares fit</translation>
    </message>
    <message>
        <source>Модель программы: </source>
        <translation>The program&apos;s model: </translation>
    </message>
    <message>
        <source>Это уравнение насыщения; логистическая кривая - модель Ферхюльста.</source>
        <translation>This is the saturation equation; the logistic curve is the Verhulst model.</translation>
    </message>
    <message>
        <source>: не определена, </source>
        <translation>: not determined, </translation>
    </message>
    <message>
        <source>: точная подгонка, RSS = </source>
        <translation>: exact fit, RSS = </translation>
    </message>
    <message>
        <source>; вес </source>
        <translation>; Akaike weight </translation>
    </message>
    <message>
        <source>Ни одна модель не определена по этим данным.</source>
        <translation>No model can be determined from these data.</translation>
    </message>
    <message>
        <source>Данные точно описывает </source>
        <translation>The data are fitted exactly by </translation>
    </message>
    <message>
        <source>Лучшая по AICc - </source>
        <translation>Best by AICc: </translation>
    </message>
    <message>
        <source>логистическая модель</source>
        <translation>the logistic model</translation>
    </message>
    <message>
        <source>Выбор модели совпадает с программой (</source>
        <translation>The choice of model agrees with the program&apos;s (</translation>
    </message>
    <message>
        <source>Выбор модели не совпадает с программой (</source>
        <translation>The choice of model differs from the program&apos;s (</translation>
    </message>
    <message>
        <source>Подгонка не определена; у программы </source>
        <translation>No fit is determined; the program uses </translation>
    </message>
    <message>
        <source>Шаг за месяц: программа </source>
        <translation>Monthly step: program </translation>
    </message>
    <message>
        <source>, подгонка </source>
        <translation>, fit </translation>
    </message>
    <message>
        <source>, подгонка не определена</source>
        <translation>, fit not determined</translation>
    </message>
    <message>
        <source>Внимание! </source>
        <translation>Warning: </translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>По команде «%1 --help» можно получить справку.</source>
        <translation>Try &apos;%1 --help&apos;.</translation>
    </message>
</context>
<context>
    <name>ExprMessages</name>
    <message>
        <source>Недопустимый символ в позиции </source>
        <translation>Invalid character at position </translation>
    </message>
    <message>
        <source>Ожидается &quot;)&quot; в позиции </source>
        <translation>&quot;)&quot; expected at position </translation>
    </message>
    <message>
        <source>Ожидается &quot;]&quot; в позиции </source>
        <translation>&quot;]&quot; expected at position </translation>
    </message>
    <message>
        <source>Ожидается &quot;}&quot; в позиции </source>
        <translation>&quot;}&quot; expected at position </translation>
    </message>
    <message>
        <source>Ожидается &quot;|&quot; в позиции </source>
        <translation>&quot;|&quot; expected at position </translation>
    </message>
    <message>
        <source>Ожидается цифра в позиции </source>
        <translation>A digit expected at position </translation>
    </message>
    <message>
        <source>Ожидается &quot;,&quot; в позиции </source>
        <translation>&quot;,&quot; expected at position </translation>
    </message>
    <message>
        <source>Ожидается число в позиции </source>
        <translation>A number expected at position </translation>
    </message>
    <message>
        <source>Ожидается знак открывающей скобки в позиции </source>
        <translation>An opening bracket expected at position </translation>
    </message>
    <message>
        <source>Ожидается знак закрывающей скобки в позиции </source>
        <translation>A closing bracket expected at position </translation>
    </message>
    <message>
        <source>Незавершённая строка</source>
        <translation>Unterminated string</translation>
    </message>
    <message>
        <source>Слишком глубокая вложенность в позиции </source>
        <translation>Nesting too deep at position </translation>
    </message>
    <message>
        <source>Формула слишком велика</source>
        <translation>The formula is too large</translation>
    </message>
    <message>
        <source>Число длиннее 255 знаков в позиции </source>
        <translation>A number longer than 255 characters at position </translation>
    </message>
    <message>
        <source>Число вне допустимого диапазона в позиции </source>
        <translation>A number out of range at position </translation>
    </message>
</context>
<context>
    <name>FormulaTool</name>
    <message>
        <source>-o: нужно имя файла</source>
        <translation>-o needs a file name</translation>
    </message>
    <message>
        <source>нужна только одна формула</source>
        <translation>one formula only</translation>
    </message>
    <message>
        <source>-f: нужно имя файла («-» — стандартный ввод)</source>
        <translation>-f needs a file name (&quot;-&quot; for standard input)</translation>
    </message>
    <message>
        <source>формула не задана</source>
        <translation>no formula given</translation>
    </message>
    <message>
        <source>--scale задаётся только для PNG (-o ФАЙЛ.png)</source>
        <translation>--scale goes with a PNG output (-o FILE.png)</translation>
    </message>
    <message>
        <source>ошибка записи</source>
        <translation>write error</translation>
    </message>
    <message>
        <source>неизвестный параметр «%1» (формула, которая начинается с «-», пишется после «--»)</source>
        <translation>unknown option &quot;%1&quot; (a formula that begins with &quot;-&quot; follows &quot;--&quot;)</translation>
    </message>
    <message>
        <source>--size: нужно целое число пунктов от 1 до 1000, а не «%1»</source>
        <translation>--size takes a whole number of points from 1 to 1000, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--scale: нужно целое число от 1 до 8, а не «%1»</source>
        <translation>--scale takes a whole number from 1 to 8, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--lang: нужно ru или en, а не «%1»</source>
        <translation>--lang takes ru or en, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>имя выходного файла должно оканчиваться на .png, .svg или .pdf: «%1»</source>
        <translation>the output file must end in .png, .svg or .pdf: &quot;%1&quot;</translation>
    </message>
    <message>
        <source>рисунок слишком велик для PNG в масштабе %1 (не больше %2 пикселей)</source>
        <translation>the picture is too large for a PNG at scale %1 (at most %2 pixels)</translation>
    </message>
    <message>
        <source>не удалось построить рисунок для «%1»</source>
        <translation>cannot make the picture for &quot;%1&quot;</translation>
    </message>
    <message>
        <source>не удалось прочитать «%1»: %2</source>
        <translation>cannot read &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>формула — не текст UTF-8 из знаков Windows-1251 (байт %1)</source>
        <translation>the formula is not UTF-8 text of Windows-1251 characters (byte %1)</translation>
    </message>
    <message>
        <source>не удалось записать в стандартный вывод: %1</source>
        <translation>cannot write to standard output: %1</translation>
    </message>
    <message>
        <source>Использование: zelvano-formula [--size ПТ] [--framed] [--boxes] [--tree] [--classic]
                               [--latex] [--mathml] [--speech]
                               [-o ФАЙЛ [--scale N]] (ФОРМУЛА | -f ТЕКСТ)

Набирает ФОРМУЛУ, записанную на языке формул Zelvano (в UTF-8; каждый знак должен
быть в кодировке Windows-1251), так, как её показывают рисунки формул программы.

  --size ПТ   размер шрифта формулы в пунктах, от 1 до 1000 (по умолчанию 10)
  --framed    нарисовать рамку в один пиксель, как у рисунка результата в рамке
  --boxes     обвести прямоугольник каждого узла и отметить его ось (для отладки)
  --tree      вывести дерево узлов, которое строит разбор, одной строкой
  --latex     вывести формулу в LaTeX (математический режим, для LaTeX с amsmath
              или KaTeX)
  --mathml    вывести формулу в MathML представления (один элемент &lt;math&gt;)
  --speech    вывести формулу так, как её прочитает вслух экранный диктор (на языке
              --lang)
  -f ТЕКСТ    прочитать формулу из текстового файла ТЕКСТ («-» — со стандартного
              ввода); один перевод строки в конце отбрасывается
  -o ФАЙЛ     записать рисунок в ФАЙЛ.png или векторной графикой в ФАЙЛ.svg или
              ФАЙЛ.pdf: гладкие контуры и весь рисунок формулы с узким белым полем
              (ничего не обрезано там, где знак выходит за рисунок программы)
  --scale N   для PNG: в N раз больше разрешения экрана, от 1 до 8 (по умолчанию 1)
  --classic   в точности рисунок программы: его размер, обрезка там же, где у
              программы, контуры без сглаживания, как на классической поверхности
  --lang ЯЗ   ru или en: язык справки, сообщений и речи и десятичный разделитель
              чисел (по умолчанию язык системы; русский, если язык не задан)
  --help      показать эту справку
  --version   показать версию

Без -o, --tree, --latex, --mathml и --speech выводятся ширина и высота рисунка
в виде «Ш В». Дерево, LaTeX, MathML и речь выводятся в этом порядке, каждое одной
строкой, в UTF-8; последние три говорят о том, что показывает рисунок.
ФОРМУЛА, которая начинается с «-», пишется после «--». Формулы длиннее 1048576
знаков не принимаются («Формула слишком велика»).

Код возврата: 0 — успешно; 2 — ошибка в тексте формулы (сообщение и место ошибки
в нормализованном тексте выводятся одной строкой в стандартный поток ошибок);
1 — любой другой сбой.
</source>
        <translation>Usage: zelvano-formula [--size PT] [--framed] [--boxes] [--tree] [--classic]
                       [--latex] [--mathml] [--speech]
                       [-o FILE [--scale N]] (FORMULA | -f TEXTFILE)

Typesets FORMULA, a text in Zelvano&apos;s formula language (UTF-8; every character must exist
in Windows-1251), as the program&apos;s formula pictures show it.

  --size PT   formula font size in points, 1 to 1000 (default 10)
  --framed    draw the one-pixel frame of a framed result picture
  --boxes     outline every node&apos;s box and mark its axis row (debug overlay)
  --tree      print the node tree the parser builds, on one line
  --latex     print the formula as LaTeX (math mode, for LaTeX with amsmath or KaTeX)
  --mathml    print the formula as presentation MathML (one &lt;math&gt; element)
  --speech    print the formula as a screen reader would read it aloud (in the
              language of --lang)
  -f TEXTFILE read the formula from TEXTFILE (&quot;-&quot; for standard input); one final line
              break is dropped
  -o FILE     write the picture as FILE.png, or as vector graphics in FILE.svg or
              FILE.pdf: smooth outlines, and all the ink of the formula with a small
              white margin (nothing cut where a glyph reaches beyond the program&apos;s
              picture)
  --scale N   with a PNG: N times the screen resolution, 1 to 8 (default 1)
  --classic   exactly the program&apos;s picture instead: its size, cut where the program
              cuts, outlines drawn aliased as on the classic surface
  --lang L    ru or en: the language of this help, the messages and the speech, and
              the decimal separator of numbers (default: the system&apos;s; Russian where
              none is set)
  --help      show this text
  --version   show the version

Without -o, --tree, --latex, --mathml and --speech the picture&apos;s width and height are
printed as &quot;W H&quot;. The tree, LaTeX, MathML and speech are printed in that order, one
line each, in UTF-8; the last three say what the picture shows.
A FORMULA that begins with &quot;-&quot; follows &quot;--&quot;. Formulas longer than 1048576 characters
are refused (&quot;The formula is too large&quot;).

Exit status: 0 on success; 2 for an error in the formula text (the message and its position
in the normalized text go to standard error as one line); 1 for any other failure.
</translation>
    </message>
</context>
<context>
    <name>GridClipboard</name>
    <message>
        <source>числа</source>
        <translation>numbers</translation>
    </message>
    <message>
        <source>чисел</source>
        <translation>numbers</translation>
    </message>
    <message>
        <source>вставлено %1 из более чем %2 %3</source>
        <translation>pasted %1 of more than %2 %3</translation>
    </message>
    <message>
        <source>вставлено %1 из %2 %3</source>
        <translation>pasted %1 of %2 %3</translation>
    </message>
    <message>
        <source>пропущено нечисловых значений: %1</source>
        <translation>values that are not numbers skipped: %1</translation>
    </message>
</context>
<context>
    <name>HtmlLesson</name>
    <message>
        <source>Популяция %1: подбор моделей</source>
        <translation>Population %1: model fits</translation>
    </message>
    <message>
        <source>Модель</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>Вес</source>
        <translation>Weight</translation>
    </message>
    <message>
        <source>не определена</source>
        <translation>not determined</translation>
    </message>
    <message>
        <source>Страницы</source>
        <translation>Pages</translation>
    </message>
</context>
<context>
    <name>PageAccessible</name>
    <message>
        <source>формула</source>
        <translation>formula</translation>
    </message>
    <message>
        <source>График</source>
        <translation>Chart</translation>
    </message>
</context>
<context>
    <name>PageReading</name>
    <message>
        <source>точки</source>
        <translation>points</translation>
    </message>
    <message>
        <source>линия</source>
        <translation>line</translation>
    </message>
    <message>
        <source>%1: %2, от %3 до %4</source>
        <translation>%1: %2, from %3 to %4</translation>
    </message>
    <message>
        <source>без подписи</source>
        <translation>unlabelled</translation>
    </message>
    <message>
        <source>По горизонтали</source>
        <translation>Horizontal</translation>
    </message>
    <message>
        <source>по вертикали</source>
        <translation>vertical</translation>
    </message>
    <message>
        <source>%1, %2 знач., от %3 до %4</source>
        <translation>%1, %2 values, from %3 to %4</translation>
    </message>
    <message>
        <source>График. </source>
        <translation>Chart. </translation>
    </message>
    <message>
        <source> Линии: </source>
        <translation> Lines: </translation>
    </message>
</context>
<context>
    <name>Report</name>
    <message>
        <source>Выражение мат модели с числовыми коэфициентами:</source>
        <translation>The model with its numerical coefficients:</translation>
    </message>
    <message>
        <source>где</source>
        <translation>where</translation>
    </message>
    <message>
        <source>Экспоненциальная модель роста популяции</source>
        <translation>Exponential model of population growth</translation>
    </message>
    <message>
        <source> - прирост численности популяции за период времени</source>
        <translation> - the change in population size over the time interval</translation>
    </message>
    <message>
        <source> - коэффициент, учитывающий скорость процесса нарастания численности;</source>
        <translation> - the growth coefficient, the rate at which the population grows;</translation>
    </message>
    <message>
        <source> - общая численность популяции на данный момент времени;</source>
        <translation> - the population size at the given time;</translation>
    </message>
    <message>
        <source>Определить значение коэффициента роста можно, если известна численность популяции в какие-либо моменты времени:</source>
        <translation>The growth coefficient can be found when the population size is known at two moments:</translation>
    </message>
    <message>
        <source>Логистическая модель роста популяции</source>
        <translation>Logistic model of population growth</translation>
    </message>
    <message>
        <source> - максимально возможная численность популяции в данной среде обитания;</source>
        <translation> - the carrying capacity, the largest population the habitat can sustain;</translation>
    </message>
    <message>
        <source>Определить значение коэффициента роста можно следующим образом:</source>
        <translation>The growth coefficient can be found as follows:</translation>
    </message>
</context>
<context>
    <name>ReportTool</name>
    <message>
        <source>без сглаживания</source>
        <translation>no smoothing</translation>
    </message>
    <message>
        <source>аппроксимация многочленом Лангранжем</source>
        <translation>Lagrange interpolating polynomial</translation>
    </message>
    <message>
        <source>аппроксимация методом наименьших квадратов</source>
        <translation>least-squares polynomial</translation>
    </message>
    <message>
        <source>Популяция №%1</source>
        <translation>Population %1</translation>
    </message>
    <message>
        <source>%1: лишнее число &quot;%2&quot; после месяца 10</source>
        <translation>%1: extra number &quot;%2&quot; after month 10</translation>
    </message>
    <message>
        <source>Вы ввели неверные данные: %1
</source>
        <translation>The data you entered are invalid: %1
</translation>
    </message>
    <message>
        <source>свои данные</source>
        <translation>own data</translation>
    </message>
    <message>
        <source>вариант %1</source>
        <translation>variant %1</translation>
    </message>
    <message>
        <source>укажите одно из --dump, --png, --pdf, --html, --csv</source>
        <translation>give one of --dump, --png, --pdf, --html, --csv</translation>
    </message>
    <message>
        <source>--variant: нужно число от 1 до 30</source>
        <translation>--variant needs a number from 1 to 30</translation>
    </message>
    <message>
        <source>--smoothing: нужно 0, 1 или 2</source>
        <translation>--smoothing needs 0, 1 or 2</translation>
    </message>
    <message>
        <source>--lang: нужно ru или en</source>
        <translation>--lang needs ru or en</translation>
    </message>
    <message>
        <source>--scale: нужно целое число от 1 до 8</source>
        <translation>--scale needs a whole number from 1 to 8</translation>
    </message>
    <message>
        <source>укажите и --counts1, и --counts2</source>
        <translation>give both --counts1 and --counts2</translation>
    </message>
    <message>
        <source>укажите --variant или подсчёты, но не то и другое</source>
        <translation>give --variant or the counts, not both</translation>
    </message>
    <message>
        <source>--scale задаётся только вместе с --png</source>
        <translation>--scale goes with --png</translation>
    </message>
    <message>
        <source>не удалось вывести записи</source>
        <translation>cannot write the records</translation>
    </message>
    <message>
        <source>неизвестный аргумент %1</source>
        <translation>unknown argument %1</translation>
    </message>
    <message>
        <source>--%1: нужен путь</source>
        <translation>--%1 needs a path</translation>
    </message>
    <message>
        <source>не удалось создать «%1»</source>
        <translation>cannot create &quot;%1&quot;</translation>
    </message>
    <message>
        <source>не удалось записать «%1» в формате PNG</source>
        <translation>cannot encode &quot;%1&quot; as PNG</translation>
    </message>
    <message>
        <source>не удалось записать «%1»: это не обычный файл</source>
        <translation>cannot write &quot;%1&quot;: not a regular file</translation>
    </message>
    <message>
        <source>не удалось записать в «%1»: %2</source>
        <translation>cannot write into &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>не удалось записать «%1»: %2</source>
        <translation>cannot write &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Использование: zelvano-report [--variant N | --counts1 &quot;ч1 ... ч10&quot;
                              --counts2 &quot;ч1 ... ч10&quot;] [--smoothing 0|1|2]
                              (--dump | --png ПАПКА [--scale N] | --pdf ФАЙЛ |
                               --html ФАЙЛ | --csv ФАЙЛ)

Выполняет расчёт кнопки «Делать» программы Zelvano без окна.

  --variant N      встроенный вариант, от 1 до 30 (по умолчанию 10)
  --counts1 ТЕКСТ  десять ежемесячных подсчётов популяции 1 через пробелы,
                   табуляции или переводы строки
  --counts2 ТЕКСТ  то же для популяции 2 (обе или ни одной)
  --smoothing С    графики по месяцам: 0 — без сглаживания, 1 — многочлен
                   Лагранжа, 2 — метод наименьших квадратов (по умолчанию 2)
  --dump           вывести расчёт текстовыми записями в стандартный вывод
  --png ПАПКА      записать в ПАПКУ Image1.png .. Image11.png и десять ChartN.png:
                   все или, при сбое, ни одного
  --scale N        с --png: в N раз больше разрешения экрана, от 1 до 8
                   (по умолчанию 1); вёрстка страниц та же, тексты и формулы
                   рисуются чётко
  --pdf ФАЙЛ       записать отчёт для печати: по альбомной странице A4
                   на каждую вкладку
  --html ФАЙЛ      записать урок одним HTML-файлом, которому больше ничего
                   не нужно: страницы с текстами, формулами (векторные рисунки
                   с MathML и описанием для чтения вслух) и графиками, для любого
                   браузера
  --csv ФАЙЛ       записать значения расчёта таблицей для электронных таблиц:
                   по строке на значение, как вычислено и как показано на
                   странице; в UTF-8, по-русски через точку с запятой и с
                   десятичной запятой, по-английски через запятую и с десятичной
                   точкой
  --lang ru|en     язык записей, страниц, файлов, справки и сообщений
                   (по умолчанию язык системы; русский, если язык не задан)
  --help           показать эту справку
  --version        показать версию

Код возврата: 0 — готово; 1 — неверный подсчёт, отказ в расчёте (сообщение
выводится в стандартный поток ошибок) или вывод, который не удалось записать;
2 — неверный вызов.
</source>
        <translation>Usage: zelvano-report [--variant N | --counts1 &quot;c1 ... c10&quot; --counts2 &quot;c1 ... c10&quot;]
                      [--smoothing 0|1|2]
                      (--dump | --png DIR [--scale N] | --pdf FILE | --html FILE |
                       --csv FILE)

Runs the analysis of Zelvano&apos;s &quot;Run&quot; button without a window.

  --variant N      built-in variant 1 .. 30 (default 10)
  --counts1 TEXT   the ten monthly counts of population 1, separated by blanks,
                   tabs or line breaks
  --counts2 TEXT   the same for population 2 (both or neither)
  --smoothing S    month charts: 0 none, 1 Lagrange, 2 least squares (default 2)
  --dump           print the run as text records on standard output
  --png DIR        write Image1.png .. Image11.png and the ten ChartN.png into DIR,
                   all of them or, on a failure, none
  --scale N        with --png: N times the screen resolution, 1 to 8 (default 1);
                   the pages keep their layout, texts and formulas are drawn sharp
  --pdf FILE       write a printable report, one A4 landscape page per tab page
  --html FILE      write the lesson as one HTML file that needs nothing else: the
                   pages with their texts, formulas (vector pictures with MathML
                   and a spoken description) and charts, for any browser
  --csv FILE       write the run&apos;s values as a table for spreadsheets: one row per
                   value, as computed and as the page shows it; UTF-8, in
                   Russian with semicolons and decimal commas, in English with
                   commas and decimal points
  --lang ru|en     the language of the records, pages, files, this help and the
                   messages (default: the system&apos;s; Russian where none is set)
  --help           show this text
  --version        show the version

Exit status: 0 done; 1 a bad count, a refused run (the message goes to standard error)
or output that cannot be written; 2 wrong usage.
</translation>
    </message>
</context>
<context>
    <name>ResultsPdf</name>
    <message>
        <source>Не удалось составить отчёт для файла «%1».</source>
        <translation>Could not make the report for the file “%1”.</translation>
    </message>
</context>
<context>
    <name>Run</name>
    <message>
        <source> (популяция №</source>
        <translation> (population </translation>
    </message>
    <message>
        <source>Численность экспоненциальной популяции в месяцах 1–9 не должна быть равна 0</source>
        <translation>The exponential population must not be 0 in months 1–9</translation>
    </message>
    <message>
        <source>Численность логистической популяции в месяцах 1–9 не должна быть равна S = </source>
        <translation>The logistic population must not equal S in months 1–9: S = </translation>
    </message>
    <message>
        <source>Первая популяция - логистическая модель</source>
        <translation>Population 1 - logistic model</translation>
    </message>
    <message>
        <source>Первая популяция - экспоненциальная модель</source>
        <translation>Population 1 - exponential model</translation>
    </message>
    <message>
        <source>Вторая популяция - логистическая модель</source>
        <translation>Population 2 - logistic model</translation>
    </message>
    <message>
        <source>Вторая популяция - экспоненциальная модель</source>
        <translation>Population 2 - exponential model</translation>
    </message>
    <message>
        <source>Первая популяция изменяется по логистичесой модели</source>
        <translation>Population 1 follows the logistic model</translation>
    </message>
    <message>
        <source>Первая популяция изменяется по экспоненциальной модели</source>
        <translation>Population 1 follows the exponential model</translation>
    </message>
    <message>
        <source>Вторая популяция изменяется по экспоненциальной модели</source>
        <translation>Population 2 follows the exponential model</translation>
    </message>
    <message>
        <source>Вторая популяция изменяется по логистичесой модели</source>
        <translation>Population 2 follows the logistic model</translation>
    </message>
    <message>
        <source>Максимальное знаяение роста популяции S = </source>
        <translation>Carrying capacity S = </translation>
    </message>
    <message>
        <source>Прогноз выходит за пределы представимых чисел</source>
        <translation>The projection leaves the range of representable numbers</translation>
    </message>
    <message>
        <source>Популяция №</source>
        <translation>Population </translation>
    </message>
    <message>
        <source>, месяц </source>
        <translation>, month </translation>
    </message>
    <message>
        <source>нет числа</source>
        <translation>no number</translation>
    </message>
</context>
<context>
    <name>RunCsv</name>
    <message>
        <source>Популяция;Величина;Номер;Значение;Как на странице</source>
        <translation>Population,Quantity,Number,Value,As on the page</translation>
    </message>
    <message>
        <source>экспоненциальная</source>
        <translation>exponential</translation>
    </message>
    <message>
        <source>насыщения</source>
        <translation>saturation</translation>
    </message>
    <message>
        <source>Ферхюльста</source>
        <translation>Verhulst</translation>
    </message>
    <message>
        <source>определена</source>
        <translation>determined</translation>
    </message>
    <message>
        <source>точная</source>
        <translation>exact</translation>
    </message>
    <message>
        <source>не определена</source>
        <translation>not determined</translation>
    </message>
    <message>
        <source>МНК, </source>
        <translation>Least squares, </translation>
    </message>
    <message>
        <source>статус</source>
        <translation>status</translation>
    </message>
    <message>
        <source>ст. ошибка </source>
        <translation>standard error of </translation>
    </message>
    <message>
        <source>вес</source>
        <translation>Akaike weight</translation>
    </message>
    <message>
        <source>МНК: лучшая модель</source>
        <translation>Least squares: best model</translation>
    </message>
    <message>
        <source>да</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>нет</source>
        <translation>no</translation>
    </message>
    <message>
        <source>МНК: согласна с программой</source>
        <translation>Least squares: agrees with the program</translation>
    </message>
    <message>
        <source>Численность за месяц</source>
        <translation>Count in month</translation>
    </message>
    <message>
        <source>логистическая</source>
        <translation>logistic</translation>
    </message>
    <message>
        <source>Модель</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>Понедельный рост</source>
        <translation>Weekly growth</translation>
    </message>
    <message>
        <source>За два года</source>
        <translation>Two years</translation>
    </message>
    <message>
        <source>За три года</source>
        <translation>Three years</translation>
    </message>
</context>
<context>
    <name>ShownRun</name>
    <message>
        <source>вариант %1</source>
        <translation>variant %1</translation>
    </message>
    <message>
        <source>свои данные</source>
        <translation>own data</translation>
    </message>
    <message>
        <source>zelvano-вариант-%1</source>
        <translation>zelvano-variant-%1</translation>
    </message>
    <message>
        <source>zelvano-свои-данные</source>
        <translation>zelvano-own-data</translation>
    </message>
</context>
<context>
    <name>TChart</name>
    <message>
        <source>данные</source>
        <translation>data</translation>
    </message>
</context>
<context>
    <name>TCheckChart</name>
    <message>
        <source>программа</source>
        <translation>program</translation>
    </message>
    <message>
        <source>данные</source>
        <translation>data</translation>
    </message>
    <message>
        <source>экспонента</source>
        <translation>exponential</translation>
    </message>
    <message>
        <source>насыщение</source>
        <translation>saturation</translation>
    </message>
    <message>
        <source>Ферхюльст</source>
        <translation>Verhulst</translation>
    </message>
    <message>
        <source>Месяцы</source>
        <translation>Months</translation>
    </message>
    <message>
        <source>Численность</source>
        <translation>Count</translation>
    </message>
</context>
<context>
    <name>TExplore</name>
    <message>
        <source>Популяция №1</source>
        <translation>Population 1</translation>
    </message>
    <message>
        <source>Популяция №2</source>
        <translation>Population 2</translation>
    </message>
    <message>
        <source>месяц %1</source>
        <translation>month %1</translation>
    </message>
    <message>
        <source>Без сглаживания</source>
        <translation>No smoothing</translation>
    </message>
    <message>
        <source>Аппроксимация многочленом Лангранжем</source>
        <translation>Lagrange interpolating polynomial</translation>
    </message>
    <message>
        <source>Аппроксимация методом наименьших квадратов</source>
        <translation>Least-squares polynomial</translation>
    </message>
    <message>
        <source>Тип сглаживания графика</source>
        <translation>Chart smoothing</translation>
    </message>
    <message>
        <source>Вернуть</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>Измените число или перетащите точку: все страницы пересчитываются сразу.</source>
        <translation>Change a count or drag a point: every page is recalculated at once.</translation>
    </message>
    <message>
        <source>Изменение численности</source>
        <translation>Change of count</translation>
    </message>
    <message>
        <source>Вы ввели неверные данные: </source>
        <translation>The data you entered are invalid: </translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>Популяция №1</source>
        <translation>Population 1</translation>
    </message>
    <message>
        <source>Популяция №2</source>
        <translation>Population 2</translation>
    </message>
    <message>
        <source>Вариант №:</source>
        <translation>Variant:</translation>
    </message>
    <message>
        <source>Тип сглаживания графика</source>
        <translation>Chart smoothing</translation>
    </message>
    <message>
        <source>Делать</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>Без сглаживания</source>
        <translation>No smoothing</translation>
    </message>
    <message>
        <source>Аппроксимация многочленом Лангранжем</source>
        <translation>Lagrange interpolating polynomial</translation>
    </message>
    <message>
        <source>Аппроксимация методом наименьших квадратов</source>
        <translation>Least-squares polynomial</translation>
    </message>
    <message>
        <source>месяц </source>
        <translation>month </translation>
    </message>
    <message>
        <source>Вы ввели неверные данные</source>
        <translation>The data you entered are invalid</translation>
    </message>
    <message>
        <source>Вы ввели неверные данные
</source>
        <translation>The data you entered are invalid
</translation>
    </message>
    <message>
        <source>Ошибка ввода</source>
        <translation>Input error</translation>
    </message>
    <message>
        <source>свои данные</source>
        <translation>own data</translation>
    </message>
</context>
<context>
    <name>TFormulaFocus</name>
    <message>
        <source>Копировать как рисунок</source>
        <translation>Copy as picture</translation>
    </message>
    <message>
        <source>Копировать как LaTeX</source>
        <translation>Copy as LaTeX</translation>
    </message>
    <message>
        <source>Копировать как MathML</source>
        <translation>Copy as MathML</translation>
    </message>
</context>
<context>
    <name>TFrmRun</name>
    <message>
        <source>Данные</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Ок</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Численность популяции</source>
        <translation>Population size</translation>
    </message>
    <message>
        <source>Первая популяция</source>
        <translation>Population 1</translation>
    </message>
    <message>
        <source>Вторая популяция</source>
        <translation>Population 2</translation>
    </message>
    <message>
        <source>Месяцы</source>
        <translation>Months</translation>
    </message>
    <message>
        <source>Формулы</source>
        <translation>Formulas</translation>
    </message>
    <message>
        <source>График %1</source>
        <translation>Chart %1</translation>
    </message>
    <message>
        <source>Коэффициент k</source>
        <translation>Coefficient k</translation>
    </message>
    <message>
        <source>Понедельный рост</source>
        <translation>Weekly growth</translation>
    </message>
    <message>
        <source>График понедельный рост</source>
        <translation>Weekly chart</translation>
    </message>
    <message>
        <source>4-5 месяцы</source>
        <translation>Months 4-5</translation>
    </message>
    <message>
        <source>Недели</source>
        <translation>Weeks</translation>
    </message>
    <message>
        <source>За два года </source>
        <translation>Two years </translation>
    </message>
    <message>
        <source>График два года</source>
        <translation>Two-year chart</translation>
    </message>
    <message>
        <source>2 года</source>
        <translation>2 years</translation>
    </message>
    <message>
        <source>За три года</source>
        <translation>Three years</translation>
    </message>
    <message>
        <source>График три года</source>
        <translation>Three-year chart</translation>
    </message>
    <message>
        <source>3 года</source>
        <translation>3 years</translation>
    </message>
    <message>
        <source>Вывод</source>
        <translation>Conclusion</translation>
    </message>
    <message>
        <source>Чтоб не вымреть нужно размножаться !</source>
        <translation>To survive, a population must multiply!</translation>
    </message>
    <message>
        <source>Проверка</source>
        <translation>Check</translation>
    </message>
    <message>
        <source>Исследование</source>
        <translation>Explore</translation>
    </message>
    <message>
        <source>Показан последний верный расчёт</source>
        <translation>Showing the last valid calculation</translation>
    </message>
</context>
<context>
    <name>THelpWindow</name>
    <message>
        <source>Справка</source>
        <translation>Guide</translation>
    </message>
    <message>
        <source>О программе</source>
        <translation>About Zelvano</translation>
    </message>
    <message>
        <source>Справка	F1</source>
        <translation>Guide	F1</translation>
    </message>
    <message>
        <source>О программе…</source>
        <translation>About Zelvano…</translation>
    </message>
    <message>
        <source>Справка и сведения о программе</source>
        <translation>Guide and information about the program</translation>
    </message>
    <message>
        <source>Учебная программа об экспоненциальной и логистической моделях роста популяции.</source>
        <translation>A teaching program on the exponential and logistic models of population growth.</translation>
    </message>
    <message>
        <source>Лицензия: GNU GPL версии 3 или более поздней (&lt;span style=&quot;white-space:nowrap&quot;&gt;GPL-3.0-or-later&lt;/span&gt;).</source>
        <translation>Licence: GNU GPL version 3 or later (&lt;span style=&quot;white-space:nowrap&quot;&gt;GPL-3.0-or-later&lt;/span&gt;).</translation>
    </message>
    <message>
        <source>Использует библиотеки:</source>
        <translation>Uses the libraries:</translation>
    </message>
    <message>
        <source>LGPL-3.0 или GPL (в сборке Debian)</source>
        <translation>LGPL-3.0 or GPL (as built by Debian)</translation>
    </message>
</context>
<context>
    <name>TResultsActions</name>
    <message>
        <source>Печать…</source>
        <translation>Print…</translation>
    </message>
    <message>
        <source>Сохранить PDF…</source>
        <translation>Save PDF…</translation>
    </message>
    <message>
        <source>Сохранить таблицы…</source>
        <translation>Save tables…</translation>
    </message>
    <message>
        <source>Ошибка записи</source>
        <translation>Write error</translation>
    </message>
    <message>
        <source>Сохранить PDF</source>
        <translation>Save PDF</translation>
    </message>
    <message>
        <source>Сохранить таблицы</source>
        <translation>Save tables</translation>
    </message>
    <message>
        <source>Таблицы CSV (*.csv)</source>
        <translation>CSV tables (*.csv)</translation>
    </message>
    <message>
        <source>Ошибка печати</source>
        <translation>Print error</translation>
    </message>
    <message>
        <source>Не удалось напечатать отчёт на принтере
%1</source>
        <translation>Could not print the report on the printer
%1</translation>
    </message>
    <message>
        <source>Сохранить HTML…</source>
        <translation>Save HTML…</translation>
    </message>
    <message>
        <source>Сохранить урок в HTML</source>
        <translation>Save the lesson as HTML</translation>
    </message>
    <message>
        <source>Веб-страница (*.html)</source>
        <translation>Web page (*.html)</translation>
    </message>
</context>
<context>
    <name>WholeFile</name>
    <message>
        <source>нет места на диске</source>
        <translation>no space left on the disk</translation>
    </message>
    <message>
        <source>превышена дисковая квота</source>
        <translation>the disk quota is exceeded</translation>
    </message>
    <message>
        <source>файл слишком велик</source>
        <translation>the file is too large</translation>
    </message>
    <message>
        <source>нет прав на запись</source>
        <translation>no permission to write</translation>
    </message>
    <message>
        <source>диск доступен только для чтения</source>
        <translation>the disk is read-only</translation>
    </message>
    <message>
        <source>это папка, а не файл</source>
        <translation>it is a folder, not a file</translation>
    </message>
    <message>
        <source>такой папки нет</source>
        <translation>no such folder</translation>
    </message>
    <message>
        <source>часть пути — не папка</source>
        <translation>part of the path is not a folder</translation>
    </message>
    <message>
        <source>слишком длинное имя</source>
        <translation>the name is too long</translation>
    </message>
    <message>
        <source>ошибка ввода-вывода</source>
        <translation>input/output error</translation>
    </message>
    <message>
        <source>Не удалось записать файл «%1»: %2.</source>
        <translation>Could not write the file “%1”: %2.</translation>
    </message>
    <message>
        <source>Не удалось записать файл: у него нет имени.</source>
        <translation>Could not write the file: it has no name.</translation>
    </message>
    <message>
        <source>Не удалось записать файл «%1»: это не обычный файл.</source>
        <translation>Could not write the file “%1”: it is not a regular file.</translation>
    </message>
</context>
</TS>
